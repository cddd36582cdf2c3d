#include "text/rounding.h"

#include <cmath>
#include <limits>

#include "text/error.h"

namespace orvane::text {

// Decided on the fraction itself rather than through the current rounding mode, so
// that nothing outside can change how a tie goes.
long long roundHalfEven(Extended value) {
    if (std::isnan(value)) {
        throw Error::invalidOperation();
    }
    // on the magnitude the fraction is exact: the whole part is 0 or shares the binade
    const Extended magnitude = std::fabs(value);
    Extended whole = std::floor(magnitude);
    const Extended fraction = magnitude - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0.0L)) {
        whole += 1.0L;
    }
    if (value < 0.0L) {
        whole = -whole;
    }
    constexpr Extended limit = 9223372036854775808.0L; // 2^63
    if (!(whole >= -limit && whole < limit)) {
        throw Error::invalidOperation();
    }
    return static_cast<long long>(whole);
}

int roundHalfEven32(Extended value) {
    const long long rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) {
        throw Error::invalidOperation();
    }
    return static_cast<int>(rounded);
}

} // namespace orvane::text
