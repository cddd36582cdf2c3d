#include "formula/formula_cursor.h"

#include <cassert>
#include <charconv>
#include <cmath>

#include "text/quoted_text.h"

namespace orvane::formula {

namespace {

bool isPartStart(char c) {
    return (c >= 'A' && c <= 'Z') || c == '(' || c == '[' || c == '{';
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

FormulaCursor::PointKind FormulaCursor::pointKind(std::size_t offset) const {
    if (m_text[offset] != '.') {
        return PointKind::Decimal; // the locale's comma never separates parts
    }
    // only the count of an item can end a part: a leading "0.5H2O" is a multiplier
    std::size_t before = offset;
    while (before > 0 && isDigit(m_text[before - 1])) {
        --before;
    }
    if (before == 0) {
        return PointKind::Decimal;
    }
    const char item = m_text[before - 1];
    if (!((item >= 'A' && item <= 'Z') || (item >= 'a' && item <= 'z') || item == ')' ||
          item == ']' || item == '}')) {
        return PointKind::Decimal;
    }
    std::size_t after = offset + 1;
    while (after < m_text.size() && isDigit(m_text[after])) {
        ++after;
    }
    if (after < m_text.size() && isPartStart(m_text[after])) {
        // a hydrate part is a compound ("6H2O"); a single element after the number
        // ("C2.5H6", "C1.5C1.25") as likely continues a formula of decimal counts
        int items = 0;
        int depth = 0;
        for (std::size_t i = after; i < m_text.size(); ++i) {
            const char c = m_text[i];
            if (c == '(' || c == '[' || c == '{') {
                items += depth == 0 ? 2 : 0;
                ++depth;
            } else if (c == ')' || c == ']' || c == '}') {
                if (depth == 0) {
                    break;
                }
                --depth;
            } else if (depth == 0 &&
                       (c == '*' || static_cast<unsigned char>(c) >= 0x80 ||
                        (c == '.' && (i + 1 >= m_text.size() || !isDigit(m_text[i + 1]))))) {
                break; // "·", "•" and any other non-ASCII character end the part too
            } else if (depth == 0 && c >= 'A' && c <= 'Z') {
                ++items;
            }
        }
        return items >= 2 ? PointKind::Hydrate : PointKind::Ambiguous;
    }
    // at the end, or before a blank or a separator, the number is a decimal count ("C2.5 H6")
    return PointKind::Decimal;
}

bool FormulaCursor::isPointAt(std::size_t offset) const {
    return offset > 0 && offset + 1 < m_text.size() &&
           (m_text[offset] == '.' || m_text[offset] == m_separator) &&
           isDigit(m_text[offset - 1]) && isDigit(m_text[offset + 1]) &&
           pointKind(offset) != PointKind::Hydrate;
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
            if (pointKind(m_offset) == PointKind::Ambiguous) {
                std::string hydrate(m_text.substr(0, m_offset));
                hydrate += "\u00B7";
                hydrate += m_text.substr(m_offset + 1);
                std::size_t end = m_offset + 1;
                while (end < m_text.size() && isDigit(m_text[end])) {
                    ++end;
                }
                throw refusal("the point at " + positionText(m_offset) +
                              " can be read two ways: as a hydrate separator (" + quoted(hydrate) +
                              ") or as a decimal point (the count " +
                              quoted(m_text.substr(number.offset, end - number.offset)) + ")");
            }
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
    if (number.whole && copy.size() <= 18) {
        // up to 18 digits a whole number is exact in extended precision, as the conversion
        // would give it, and is summed here at a fraction of its cost
        unsigned long long whole = 0;
        for (const char digit : copy) {
            whole = whole * 10 + static_cast<unsigned long long>(digit - '0');
        }
        number.value = static_cast<text::Extended>(whole);
        return number;
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
    return text::characterPositionText(m_text, offset);
}

std::string_view FormulaCursor::characterAt(std::size_t offset) const {
    return text::characterAt(m_text, offset);
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
    return text::quotedText(text);
}

} // namespace orvane::formula
