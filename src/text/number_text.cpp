#include "text/number_text.h"

#include <algorithm>
#include <cmath>

#include "text/decimal_digits.h"

namespace orvane::text {

namespace {

// No finite result should reach a text, but a stray one must not crash the display.
std::string nonFiniteText(Extended value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0.0L ? "-INF" : "INF";
}

// The digit at decimal place `place` (1 = first digit after the point, 0 = units,
// -1 = tens, ...), '0' where the digit string has none.
char digitAt(const DecimalDigits& number, int place) {
    const long long index = static_cast<long long>(number.exponent) + place - 1;
    if (index < 0 || index >= static_cast<long long>(number.digits.size())) {
        return '0';
    }
    return number.digits[static_cast<std::size_t>(index)];
}

// Writes a rounded number with exactly `decimals` digits after the separator.
std::string writeFixed(const DecimalDigits& number, int decimals, char separator) {
    std::string text;
    if (number.negative && !number.digits.empty()) {
        text.push_back('-');
    }
    const int integerDigits = std::max(number.exponent, 1);
    for (int place = 1 - integerDigits; place <= 0; ++place) {
        text.push_back(digitAt(number, place));
    }
    if (decimals > 0) {
        text.push_back(separator);
        for (int place = 1; place <= decimals; ++place) {
            text.push_back(digitAt(number, place));
        }
    }
    return text;
}

std::string writeScientific(const DecimalDigits& number, char separator) {
    std::string text;
    if (number.negative) {
        text.push_back('-');
    }
    text.push_back(number.digits.front());
    if (number.digits.size() > 1) {
        text.push_back(separator);
        text.append(number.digits, 1);
    }
    text.push_back('E');
    text.append(std::to_string(number.exponent - 1));
    return text;
}

} // namespace

std::string generalText(Extended value, char separator, int precision) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    // Whole numbers below 10^15 (counts, nominal masses) are written as their digits, which
    // the decimal expansion would give too, at a fraction of its cost.
    if (precision >= 15 && value >= 0 && value < 1e15L) {
        const auto whole = static_cast<long long>(value);
        if (static_cast<Extended>(whole) == value) {
            return std::to_string(whole);
        }
    }
    precision = std::clamp(precision, 1, 18);
    DecimalDigits number = expand18(value);
    roundToSignificant(number, precision);
    if (number.digits.empty()) {
        return "0";
    }
    // 1e-4 <= |x| < 10^precision, judged on the rounded value
    if (number.exponent >= -3 && number.exponent <= precision) {
        const int fraction = std::max(static_cast<int>(number.digits.size()) - number.exponent, 0);
        return writeFixed(number, fraction, separator);
    }
    return writeScientific(number, separator);
}

std::string fixedText(Extended value, int precision, int decimals, char separator) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    const int significant = std::clamp(precision, 2, 18);
    decimals = std::max(decimals, 0);
    DecimalDigits number = expand18(value);
    if (number.exponent > significant) {
        return generalText(value, separator, significant);
    }
    // one rounding, at the coarser of the two cuts; a carry that adds an integer digit
    // (99999999.6 at 8 digits) also makes the value too long for fixed notation
    roundAtDecimal(number, std::min(significant - number.exponent, decimals));
    if (number.exponent > significant) {
        return generalText(value, separator, significant);
    }
    return writeFixed(number, decimals, separator);
}

std::string first8(std::string_view text) {
    return std::string(text.substr(0, 8));
}

} // namespace orvane::text
