#pragma once

#include "text/extended.h"

namespace orvane::text {

/// Round to the nearest whole number, ties to the even one (2.5 -> 2, 3.5 -> 4).
/// The range is symmetric, -(2^63 - 1) to 2^63 - 1: a NaN, or a value that rounds
/// outside it (-2^63 itself, and +-(2^63 - 0.5), which round to +-2^63), raises the
/// invalid-operation error.
long long roundHalfEven(Extended value);

/// roundHalfEven for results kept in 32-bit integers (N0, W, atom counts, widths);
/// a result outside the 32-bit range raises the invalid-operation error.
int roundHalfEven32(Extended value);

} // namespace orvane::text
