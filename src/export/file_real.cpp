#include "export/file_real.h"

#include <cassert>
#include <cmath>

#include "text/decimal_digits.h"

namespace orvane::exporting {

std::string fileReal(long double value, int width, int decimals) {
    assert(std::isfinite(value) && decimals >= 0);
    text::DecimalDigits number = text::expand18(value);
    text::roundAtDecimal(number, decimals);

    // The digit at position k counts from the first significant digit; the point
    // stands after position exponent - 1, and positions outside the digits are zeros.
    const auto digitAt = [&number](int k) {
        return k >= 0 && k < static_cast<int>(number.digits.size()) ? number.digits[k] : '0';
    };
    std::string text;
    // A negative value keeps its sign even when it rounds to zero, as the value is negative.
    if (value < 0) {
        text += '-';
    }
    if (number.digits.empty() || number.exponent <= 0) {
        text += '0';
    } else {
        for (int k = 0; k < number.exponent; ++k) {
            text += digitAt(k);
        }
    }
    if (decimals > 0) {
        text += '.';
        const int point = number.digits.empty() ? 0 : number.exponent;
        for (int k = point; k < point + decimals; ++k) {
            text += number.digits.empty() ? '0' : digitAt(k);
        }
    }
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

} // namespace orvane::exporting
