#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "text/extended.h"

namespace orvane::calc {

// The conversions between double and extended that an atom step makes, with the x87's own
// results to the last bit, but without the x87 ever loading or storing a subnormal double.
// Intel processors handle such a load or store in microcode, some 100 times slower than the
// operation itself (an entry of the pattern's tails took 0.5 us instead of 3 ns on a Xeon);
// AMD's do not. Extended itself reaches down to 2^-16382, so every value of the tails is an
// ordinary number there: only the crossings to and from double need care.

inline constexpr std::uint64_t doubleExponentBits = 0x7ff0'0000'0000'0000;
inline constexpr std::uint64_t doubleSignBit = 0x8000'0000'0000'0000;
inline constexpr std::uint64_t doubleFractionBits = 0x000f'ffff'ffff'ffff;

/// The double's value in extended, exactly as the x87 loads it. A subnormal double is
/// fraction * 2^-1074, which the integer fraction (below 2^52) times 2^-1074 gives exactly
/// in extended, where it is a normal number.
inline text::Extended widened(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if ((bits & doubleExponentBits) != 0 || (bits & doubleFractionBits) == 0) {
        return value; // a normal double, a zero, an infinity or a NaN
    }
    const text::Extended magnitude =
        static_cast<text::Extended>(static_cast<std::int64_t>(bits & doubleFractionBits)) *
        0x1p-1074L;
    return (bits & doubleSignBit) != 0 ? -magnitude : magnitude;
}

/// The double a store of `sum` gives, as the x87 rounds it in the current rounding mode;
/// `exact` becomes that double's value in extended, as widened() gives it. Below 2^-1022 the
/// store rounds to a whole multiple of 2^-1074: sum * 2^1074 is exact (a power of two) and
/// under 2^52, and moving it by 1.5 * 2^63 away from 0 and back rounds it to a whole number
/// once, in the same mode and with the same ties to even (1.5 * 2^63 is even), as an
/// extended of that size holds whole numbers and nothing finer. That whole number (at most
/// 2^52, which is 2^-1022's own bits) is the double's bit pattern below the sign, and the
/// sign is the sum's, -0 included.
inline double roundedAsStored(text::Extended sum, text::Extended& exact) {
    if (!(std::fabs(sum) < 0x1p-1022L) || sum == 0) {
        const double stored = static_cast<double>(sum);
        exact = stored;
        return stored;
    }
    constexpr text::Extended wholeNumbers = 0x1.8p63L;
    const text::Extended scaled = sum * 0x1p1074L;
    const bool negative = std::signbit(sum);
    const text::Extended whole =
        negative ? (scaled - wholeNumbers) + wholeNumbers : (scaled + wholeNumbers) - wholeNumbers;
    const text::Extended magnitude = std::fabs(whole);
    // a whole number up to 2^52 is a normal double, and its integer is the fraction's bits
    const auto fraction =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<double>(magnitude)));
    exact = negative ? -(magnitude * 0x1p-1074L) : magnitude * 0x1p-1074L;
    return std::bit_cast<double>(fraction | (negative ? doubleSignBit : 0));
}

} // namespace orvane::calc
