#pragma once

#include <string>

#include "text/extended.h"

namespace orvane::text {

// A finite value as a decimal digit string: value = 0.d1d2d3... x 10^exponent.
// Every number text of the system is made from the 18-significant-digit expansion
// (rounded to nearest, ties to even, on the exact binary value), rounded again half
// away from zero at the position the text needs.
struct DecimalDigits {
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    int exponent = 0;   // position of the decimal point relative to digits[0]
};

/// The 18-significant-digit expansion of a finite value.
DecimalDigits expand18(Extended value);

/// Keeps only the digits before decimal position `position` (a count of digits after
/// the point; negative for positions left of it), rounding half away from zero on the
/// digit string. A carry may lengthen the digits and raise the exponent; a value that
/// rounds to nothing becomes zero.
void roundAtDecimal(DecimalDigits& number, int position);

/// Keeps at most `count` significant digits, rounding half away from zero; trailing
/// zeros are dropped.
void roundToSignificant(DecimalDigits& number, int count);

} // namespace orvane::text
