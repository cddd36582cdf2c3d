#pragma once

#include <string>
#include <string_view>

#include "text/extended.h"

namespace orvane::text {

/// General text: up to `precision` (15) significant digits, trailing zeros dropped,
/// fixed notation for 1e-4 <= |x| < 10^precision, otherwise scientific ("1.5E-5",
/// "1E20"); zero gives "0". `separator` is the locale's decimal separator.
std::string generalText(Extended value, char separator, int precision = 15);

/// Fixed text (p, d): the value rounded to min(p, 18) significant digits (at least 2)
/// and to d decimals, written with exactly d decimals; a value with more integer
/// digits than min(p, 18) gives its general text at that precision instead.
std::string fixedText(Extended value, int precision, int decimals, char separator);

/// The first 8 characters of a text (cut, not rounded); a shorter text whole.
std::string first8(std::string_view text);

} // namespace orvane::text
