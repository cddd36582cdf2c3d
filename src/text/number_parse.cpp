#include "text/number_parse.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

#include "text/error.h"
#include "text/extended.h"

namespace orvane::text {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// strtold reads the process's LC_NUMERIC; the cell texts are read with the separator
// the caller gives, so the conversion itself always runs in the C locale.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The text without its surrounding blanks, in the C form ("." as the point), or
// nothing when it is not a real number. The shipped data files write "." whatever the
// user's locale, so "." is a decimal point under every separator.
std::optional<std::string> normalisedReal(std::string_view text, char separator) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    std::string copy;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        copy.push_back(text[i++]);
    }
    int mantissaDigits = 0;
    bool point = false;
    for (; i < end; ++i) {
        if (isDigit(text[i])) {
            copy.push_back(text[i]);
            ++mantissaDigits;
        } else if ((text[i] == separator || text[i] == '.') && !point) {
            copy.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        copy.push_back('e');
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            copy.push_back(text[i++]);
        }
        int exponentDigits = 0;
        for (; i < end && isDigit(text[i]); ++i) {
            copy.push_back(text[i]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != end) {
        return std::nullopt;
    }
    return copy;
}

} // namespace

namespace {

// The text's value in extended precision; nothing when the text is not a number or names
// one beyond even the extended range.
std::optional<Extended> readExtended(std::string_view text, char separator) {
    const std::optional<std::string> copy = normalisedReal(text, separator);
    if (!copy) {
        return std::nullopt;
    }
    const Extended value = strtold_l(copy->c_str(), nullptr, cLocale());
    if (std::isinf(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<double> tryParseReal(std::string_view text, char separator) {
    const std::optional<Extended> value = readExtended(text, separator);
    if (!value || std::isinf(static_cast<double>(*value))) {
        return std::nullopt;
    }
    return storeDouble(*value);
}

double parseReal(std::string_view text, char separator) {
    const std::optional<Extended> value = readExtended(text, separator);
    if (!value) {
        throw Error::notAReal(text);
    }
    // a number that the extended format holds but a double does not overflows when stored
    return storeDouble(*value);
}

std::optional<int> tryParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    if (rest.empty()) {
        return std::nullopt;
    }
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X' || rest.starts_with("0x") ||
        rest.starts_with("0X")) {
        const std::string_view digits = rest.substr(rest[0] == '0' ? 2 : 1);
        if (digits.empty()) {
            return std::nullopt;
        }
        std::uint64_t magnitude = 0;
        for (const char c : digits) {
            const int digit = hexValue(c);
            if (digit < 0) {
                return std::nullopt;
            }
            magnitude = magnitude * 16 + static_cast<unsigned>(digit);
            if (magnitude > 0xFFFFFFFFu) {
                return std::nullopt;
            }
        }
        // up to 32 hexadecimal bits are taken as the bit pattern: $FFFFFFFF is -1
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative) {
            bits = 0u - bits;
        }
        return static_cast<int>(bits);
    }
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t magnitude = 0;
    for (const char c : rest) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude)
                                     : static_cast<std::int64_t>(magnitude));
}

int parseInteger(std::string_view text) {
    const std::optional<int> value = tryParseInteger(text);
    if (!value) {
        throw Error::notAnInteger(text);
    }
    return *value;
}

} // namespace orvane::text
