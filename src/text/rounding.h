#pragma once

#include "text/extended.h"

namespace orvane::text {

/// Round to the nearest whole number, ties to the even one (2.5 -> 2, 3.5 -> 4).
/// A NaN or a value outside the 64-bit integer range raises the invalid-operation error.
long long roundHalfEven(Extended value);

/// roundHalfEven for results kept in 32-bit integers (N0, W, atom counts, widths);
/// a result outside the 32-bit range raises the invalid-operation error.
int roundHalfEven32(Extended value);

} // namespace orvane::text
