#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/error.h"

namespace orvane::sequence {

// The whole text a sequence stands in (a formula), for refusals that name positions in it
// the way the formula reader does: `<label> "<text>": <detail>.`
class SequenceText {
public:
    SequenceText(std::string_view whole, std::string_view label) : m_whole(whole), m_label(label) {}

    std::string_view whole() const { return m_whole; }
    /// The byte at `offset`; '\0' at or past the end.
    char at(std::size_t offset) const { return offset < m_whole.size() ? m_whole[offset] : '\0'; }
    /// "position N" of the byte at `offset`.
    std::string position(std::size_t offset) const;
    /// The character at `offset` in double quotes.
    std::string character(std::size_t offset) const;
    /// The bytes [begin, end) in double quotes.
    std::string quoted(std::size_t begin, std::size_t end) const;
    /// The refusal `<label> "<whole>": <detail>.`
    text::Error refusal(const std::string& detail) const;

private:
    std::string_view m_whole;
    std::string_view m_label;
};

} // namespace orvane::sequence
