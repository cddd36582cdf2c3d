#pragma once

#include <limits>

namespace orvane::text {

// Every intermediate result is formed in the x87 extended format (64-bit
// significand, round to nearest even) and rounded to double only when stored.
// The exact digits of the patterns depend on it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "Orvane needs the x87 80-bit long double (64-bit significand)");
static_assert(std::numeric_limits<double>::digits == 53);

using Extended = long double;

/// Clears the sticky floating-point exception flags before a checked computation.
void clearFloatFlags();

/// Throws Error::divisionByZero, Error::invalidOperation or Error::overflow when
/// the matching sticky flag was raised since clearFloatFlags(); underflow and
/// inexact results are silent. Division by zero wins over invalid, invalid over overflow.
void throwOnFloatFlags();

/// a / b in extended precision, checked: x/0 and 0/0 raise their errors.
Extended checkedDivide(Extended a, Extended b);

/// The value rounded to double as when it is stored; a value beyond the double
/// range raises the overflow error, a NaN the invalid-operation error.
double storeDouble(Extended value);

} // namespace orvane::text
