#pragma once

#include <string_view>

namespace orvane::text {

/// The text without the blanks and control characters (codes 0 to 32) at both ends, as
/// data-file fields and symbol cells are read.
inline std::string_view trimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace orvane::text
