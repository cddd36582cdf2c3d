#include "text/rounding.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "text/error.h"

namespace orvane::text {

namespace {

static_assert(std::numeric_limits<Extended>::digits == 64, "the x87 extended format");

// The whole part of 0 <= magnitude < 2^63, without the control-word changes of an extended
// conversion: below 2^62, adding 2^63 leaves the magnitude rounded to a whole number (in
// whatever rounding mode) in the low bits of the 64-bit significand, which is then moved
// down to the whole part if it rounded up.
unsigned long long wholePartOf(Extended magnitude) {
    constexpr Extended shift = 0x1p63L;
    if (magnitude >= 0x1p62L) {
        return static_cast<unsigned long long>(magnitude);
    }
    const Extended shifted = magnitude + shift;
    std::uint64_t significand = 0;
    std::memcpy(&significand, &shifted, sizeof significand);
    auto whole = static_cast<long long>(significand - (std::uint64_t{1} << 63));
    if (static_cast<Extended>(whole) > magnitude) {
        --whole;
    }
    return static_cast<unsigned long long>(whole);
}

} // namespace

// Decided on the fraction itself rather than through the current rounding mode, so
// that nothing outside can change how a tie goes.
long long roundHalfEven(Extended value) {
    // Whole numbers below 2^53, as every count is, convert as they stand, without the x87
    // control-word changes of an extended conversion; the bounds keep the narrowing to a
    // double from raising an overflow or underflow flag.
    if (const Extended magnitude = std::fabs(value);
        magnitude < 9007199254740992.0L && (magnitude >= 1.0L || magnitude == 0.0L)) {
        if (const auto whole = static_cast<long long>(static_cast<double>(value));
            static_cast<Extended>(whole) == value) {
            return whole;
        }
    }
    if (std::isnan(value)) {
        throw Error::invalidOperation();
    }
    constexpr Extended limit = 9223372036854775808.0L; // 2^63
    const Extended magnitude = std::fabs(value);
    if (magnitude >= limit) {
        throw Error::invalidOperation();
    }
    // Below 2^63 the whole part converts exactly, and the fraction that is left is exact
    // too: the whole part is 0 or shares the binade of the magnitude.
    unsigned long long whole = wholePartOf(magnitude);
    const Extended fraction = magnitude - static_cast<Extended>(whole);
    if (fraction > 0.5L || (fraction == 0.5L && (whole & 1u) != 0)) {
        ++whole;
    }
    // 2^63 - 0.5 rounds up to 2^63 whatever the sign; refusing it for both signs keeps the
    // range symmetric and the negation below from overflowing
    if (whole > static_cast<unsigned long long>(std::numeric_limits<long long>::max())) {
        throw Error::invalidOperation();
    }
    const long long rounded = static_cast<long long>(whole);
    return value < 0.0L ? -rounded : rounded;
}

int roundHalfEven32(Extended value) {
    const long long rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) {
        throw Error::invalidOperation();
    }
    return static_cast<int>(rounded);
}

} // namespace orvane::text
