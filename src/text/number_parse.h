#pragma once

#include <optional>
#include <string_view>

namespace orvane::text {

/// Reads a cell text as a real number: optional blanks around it, an optional sign,
/// digits with at most one decimal separator (`separator` or "."), an optional exponent
/// (E or e, optional sign, digits). The value is read in extended precision and stored
/// as a double.
/// Anything else, the empty text included, raises Error::notAReal(text), and so does a
/// number beyond even the extended range. A number that the extended format holds but a
/// double does not raises the overflow error when it is stored; one below the double
/// range is read as 0 or a subnormal.
double parseReal(std::string_view text, char separator);
/// parseReal without errors: nothing for every text that parseReal refuses.
std::optional<double> tryParseReal(std::string_view text, char separator);

/// Reads a cell text as a 32-bit whole number: leading blanks, an optional sign, then
/// decimal digits, or hexadecimal digits after "$", "x" or "0x". Anything else, or a
/// value outside the 32-bit range, raises Error::notAnInteger(text). Hexadecimal
/// digits up to $FFFFFFFF are taken as the 32-bit pattern ($FFFFFFFF is -1).
int parseInteger(std::string_view text);
std::optional<int> tryParseInteger(std::string_view text);

} // namespace orvane::text
