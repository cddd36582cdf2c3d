#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "text/extended.h"

namespace orvane::calc {

// The crossings between double and extended that an atom step makes, with the x87's own
// results to the last bit, but without the x87 ever loading or storing a subnormal double.
// Intel processors handle such a load or store in microcode, some 100 times slower than the
// operation itself (an entry of the pattern's tails took 0.5 us instead of 3 ns on a Xeon);
// AMD's do not. Extended reaches down to 2^-16382, so every value of the tails is an
// ordinary number there: only the crossings need care.

/// Whether this processor's x87 takes those assists: all but AMD's are taken to, so that an
/// unknown one is never slowed by a sum 100 times its cost. Either way gives the same bits.
inline bool subnormalsTakeAssists() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool assists = [] {
        __builtin_cpu_init();
        return !__builtin_cpu_is("amd");
    }();
    return assists;
#else
    return false;
#endif
}

inline constexpr std::uint64_t doubleExponentBits = 0x7ff0'0000'0000'0000;
inline constexpr std::uint64_t doubleSignBit = 0x8000'0000'0000'0000;
inline constexpr std::uint64_t doubleFractionBits = 0x000f'ffff'ffff'ffff;
/// The bits of 2^-1022, the smallest normal double; below them lie +0 and the subnormals.
inline constexpr std::uint64_t smallestNormalBits = 0x0010'0000'0000'0000;

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

/// `units` (a value in units of 2^-1074, 0 or more and below 2^62) rounded to a whole number
/// as the current rounding mode rounds: adding 1.5 * 2^63 brings it where an extended holds
/// whole numbers and nothing finer, so the sum is rounded once, with ties to even (1.5 * 2^63
/// is even), and taking it away again is exact (giving -0 for 0 when rounding down). Below 2^-1021
/// a store to double rounds to exactly such a whole multiple of 2^-1074: the subnormals and the
/// normal doubles below 2^-1021 are those multiples.
inline text::Extended wholeUnits(text::Extended units) {
    constexpr text::Extended onlyWholeNumbers = 0x1.8p63L;
    return (units + onlyWholeNumbers) - onlyWholeNumbers;
}

/// The double of `units` whole units of 2^-1074 (below 2^53): below 2^-1021 a double's bit
/// pattern is that whole number, which as a normal double converts to an integer without the
/// x87.
inline double fromWholeUnits(text::Extended units) {
    return std::bit_cast<double>(
        static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<double>(units))));
}

/// What storing `sum` as a double and loading it back gives, as the x87 rounds it in the
/// current rounding mode. Below 2^-1022 the store rounds to a whole multiple of 2^-1074,
/// which wholeUnits() makes of sum * 2^1074 (exact: a power of two), a negative sum's
/// magnitude rounded the other way; the sign is the sum's, -0 included.
inline text::Extended roundedAsStored(text::Extended sum) {
    if (!(std::fabs(sum) < 0x1p-1022L) || sum == 0) {
        return static_cast<double>(sum);
    }
    if (sum > 0) {
        // rounding down, a whole number of 0 comes out as -0
        const text::Extended units = wholeUnits(sum * 0x1p1074L);
        return units == 0 ? 0.0L : units * 0x1p-1074L;
    }
    constexpr text::Extended onlyWholeNumbers = 0x1.8p63L;
    const text::Extended units = (sum * 0x1p1074L - onlyWholeNumbers) + onlyWholeNumbers;
    return units == 0 ? -0.0L : units * 0x1p-1074L;
}

/// The double whose value `exact` is (one that roundedAsStored() or widened() gave).
inline double narrowed(text::Extended exact) {
    if (!(std::fabs(exact) < 0x1p-1022L) || exact == 0) {
        return static_cast<double>(exact);
    }
    const double magnitude = fromWholeUnits(std::fabs(exact) * 0x1p1074L);
    return exact < 0 ? -magnitude : magnitude;
}

} // namespace orvane::calc
