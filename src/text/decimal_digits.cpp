#include "text/decimal_digits.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orvane::text {

namespace {

void dropTrailingZeros(DecimalDigits& number) {
    const auto last = number.digits.find_last_not_of('0');
    number.digits.erase(last == std::string::npos ? 0 : last + 1);
    if (number.digits.empty()) {
        number = DecimalDigits{};
    }
}

} // namespace

DecimalDigits expand18(Extended value) {
    assert(std::isfinite(value));
    DecimalDigits number;
    if (value == 0.0L) {
        return number;
    }
    // Both conversions round the exact binary value to nearest, ties to even; the one for
    // double is several times faster, and most values come stored as doubles.
    char text[40];
    const double asDouble = static_cast<double>(value);
    if (static_cast<Extended>(asDouble) == value) {
        const auto result = std::to_chars(text, text + sizeof text - 1, asDouble,
                                          std::chars_format::scientific, 17);
        *result.ptr = '\0';
    } else {
        std::snprintf(text, sizeof text, "%.17Le", value);
    }
    const char* p = text;
    if (*p == '-') {
        number.negative = true;
        ++p;
    }
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            number.digits.push_back(*p);
        }
    }
    number.exponent = static_cast<int>(std::strtol(p + 1, nullptr, 10)) + 1;
    dropTrailingZeros(number);
    return number;
}

void roundAtDecimal(DecimalDigits& number, int position) {
    const long long keep = static_cast<long long>(position) + number.exponent;
    if (keep >= static_cast<long long>(number.digits.size())) {
        return;
    }
    if (keep < 0) {
        number = DecimalDigits{};
        return;
    }
    const bool up = number.digits[static_cast<std::size_t>(keep)] >= '5';
    number.digits.erase(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = number.digits.size();
        while (i > 0 && number.digits[i - 1] == '9') {
            number.digits[--i] = '0';
        }
        if (i == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.exponent;
        } else {
            ++number.digits[i - 1];
        }
    }
    dropTrailingZeros(number);
}

void roundToSignificant(DecimalDigits& number, int count) {
    if (count < 1) {
        count = 1;
    }
    roundAtDecimal(number, count - number.exponent);
    dropTrailingZeros(number);
}

} // namespace orvane::text
