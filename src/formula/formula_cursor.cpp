#include "formula/formula_cursor.h"

#include <cassert>
#include <charconv>
#include <cmath>

namespace orvane::formula {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

FormulaCursor::FormulaCursor(std::string_view text, std::string_view label, char separator)
    : m_text(text), m_label(label), m_separator(separator) {}

void FormulaCursor::advance(std::size_t bytes) {
    assert(m_offset + bytes <= m_text.size());
    m_offset += bytes;
}

void FormulaCursor::skipBlanks() {
    while (peek() == ' ' || peek() == '\t') {
        ++m_offset;
    }
}

bool FormulaCursor::isPointAt(std::size_t offset) const {
    return offset > 0 && offset + 1 < m_text.size() &&
           (m_text[offset] == '.' || m_text[offset] == m_separator) &&
           isDigit(m_text[offset - 1]) && isDigit(m_text[offset + 1]);
}

bool FormulaCursor::atDecimalPoint() const {
    return isPointAt(m_offset);
}

std::size_t FormulaCursor::partSeparatorLength() const {
    const std::string_view rest = m_text.substr(m_offset);
    if (rest.starts_with("\u00B7")) {
        return 2;
    }
    if (rest.starts_with("\u2022")) {
        return 3;
    }
    if (peek() == '*' || (peek() == '.' && !atDecimalPoint())) {
        return 1;
    }
    return 0;
}

WrittenNumber FormulaCursor::readNumber() {
    assert(atDigit());
    WrittenNumber number;
    number.offset = m_offset;
    std::string copy; // with "." as the point, for from_chars
    while (atDigit() || (number.whole && atDecimalPoint())) {
        if (!atDigit()) {
            number.whole = false;
            copy.push_back('.');
        } else {
            copy.push_back(peek());
        }
        ++m_offset;
    }
    number.text = m_text.substr(number.offset, m_offset - number.offset);
    if (atDecimalPoint()) {
        throw refusal(std::string("the number ") + quoted(number.text) + " at " +
                      positionText(number.offset) + " has a second decimal point at " +
                      positionText(m_offset));
    }
    const auto [end, error] = std::from_chars(copy.data(), copy.data() + copy.size(), number.value,
                                              std::chars_format::fixed);
    if (error != std::errc() || !std::isfinite(number.value)) {
        throw refusal(std::string("the number ") + quoted(number.text) + " at " +
                      positionText(number.offset) + " is beyond the range of numbers");
    }
    assert(end == copy.data() + copy.size());
    return number;
}

std::string FormulaCursor::positionText(std::size_t offset) const {
    assert(offset <= m_text.size());
    long long position = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        position += isContinuationByte(m_text[i]) ? 0 : 1;
    }
    return "position " + std::to_string(position);
}

std::string_view FormulaCursor::characterAt(std::size_t offset) const {
    assert(offset < m_text.size());
    std::size_t end = offset + 1;
    while (end < m_text.size() && isContinuationByte(m_text[end])) {
        ++end;
    }
    return m_text.substr(offset, end - offset);
}

text::Error FormulaCursor::refusal(const std::string& detail) const {
    std::string message(m_label);
    message += ' ';
    message += quoted(m_text);
    message += ": ";
    message += detail;
    message += '.';
    return text::Error(message);
}

std::string FormulaCursor::quoted(std::string_view text) {
    // A message that repeats a pasted page is no help, and a NUL would end it where it stands.
    constexpr std::size_t longest = 200;
    const bool cut = text.size() > longest;
    if (cut) {
        std::size_t end = longest;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            --end; // not inside a UTF-8 sequence
        }
        text = text.substr(0, end);
    }
    std::string result;
    result.reserve(text.size() + 8);
    result.push_back('"');
    for (const char c : text) {
        if (c == '\0') {
            result += "\\0";
        } else {
            result.push_back(c);
        }
    }
    if (cut) {
        result += "…";
    }
    result.push_back('"');
    return result;
}

} // namespace orvane::formula
