#include "sequence/sequence_text.h"

#include "text/quoted_text.h"

namespace orvane::sequence {

std::string SequenceText::position(std::size_t offset) const {
    return text::characterPositionText(m_whole, offset);
}

std::string SequenceText::character(std::size_t offset) const {
    return text::quotedText(text::characterAt(m_whole, offset));
}

std::string SequenceText::quoted(std::size_t begin, std::size_t end) const {
    return text::quotedText(m_whole.substr(begin, end - begin));
}

text::Error SequenceText::refusal(const std::string& detail) const {
    return text::Error(std::string(m_label) + " " + text::quotedText(m_whole) + ": " + detail +
                       ".");
}

} // namespace orvane::sequence
