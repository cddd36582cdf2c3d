#include "calc/assist_free_rounding.h"

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

// The helpers against the x87's own loads and stores, which they must match bit for bit
// (the plain casts here are those loads and stores, assists and all).

namespace orvane::calc {
namespace {

using text::Extended;

bool identicalDoubles(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The value and the sign of an extended (its padding bytes aside).
bool sameExtended(Extended a, Extended b) {
    return (a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b));
}

// Doubles of every kind: subnormals of every size, normals about 2^-1022 and far from it,
// zeros, infinities and NaN, either sign.
std::vector<double> doublesOfEveryKind(std::mt19937_64& random) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(),
                                  std::nextafter(std::numeric_limits<double>::min(), 0.0),
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  300.0};
    for (int k = 0; k < 3000; ++k) {
        const std::uint64_t fraction = random() & doubleFractionBits;
        const std::uint64_t exponent = k % 3 == 0 ? 0 : (random() % 40) * (k % 3 == 1 ? 1 : 50);
        const std::uint64_t sign = k % 5 == 0 ? doubleSignBit : 0;
        values.push_back(std::bit_cast<double>(sign | (exponent << 52) | fraction));
    }
    return values;
}

TEST(AssistFreeRounding, WidenedIsTheLoadedValue) {
    std::mt19937_64 random(20261209);
    for (const double value : doublesOfEveryKind(random)) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(sameExtended(widened(value), static_cast<Extended>(value)));
    }
}

// Reference and helper under the rounding mode in force when they are called.
__attribute__((noinline)) Extended storedAndLoaded(Extended sum) {
    return static_cast<double>(sum);
}
__attribute__((noinline)) double stored(Extended sum) {
    return static_cast<double>(sum);
}
__attribute__((noinline)) Extended roundedByHelper(Extended sum) {
    return roundedAsStored(sum);
}

// Sums from far below the smallest subnormal to well above 2^-1022, either sign, with
// 64-bit significands, halfway cases between two subnormals (ties go to even) and the
// edge of the normal range among them; in every rounding mode.
TEST(AssistFreeRounding, RoundedAsStoredIsWhatAStoreAndALoadGive) {
    std::mt19937_64 random(20261210);
    std::vector<Extended> sums = {0.0L,
                                  -0.0L,
                                  0x1p-1022L,
                                  -0x1p-1022L,
                                  0x1p-1075L,
                                  0x1.8p-1074L,
                                  0x1.fffffffffffffffep-1023L,
                                  0x1p-1100L,
                                  1.0L};
    for (int k = 0; k < 4000; ++k) {
        const Extended significand =
            static_cast<Extended>(random() | (std::uint64_t{1} << 63)) * 0x1p-64L;
        const int exponent = -1100 + static_cast<int>(random() % 110);
        Extended sum = std::ldexp(significand, exponent);
        if (k % 4 == 1) {
            // halfway between two multiples of 2^-1074
            sum = (static_cast<Extended>(random() % (std::uint64_t{1} << 52)) + 0.5L) * 0x1p-1074L;
        }
        sums.push_back(k % 3 == 0 ? -sum : sum);
    }
    const int modes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    for (const int mode : modes) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(std::fesetround(mode), 0);
        for (const Extended sum : sums) {
            const Extended expected = storedAndLoaded(sum);
            const Extended got = roundedByHelper(sum);
            if (!sameExtended(got, expected)) {
                std::fesetround(FE_TONEAREST);
                FAIL() << "sum " << static_cast<double>(sum * 0x1p1074L) << " * 2^-1074";
            }
        }
    }
    std::fesetround(FE_TONEAREST);
}

TEST(AssistFreeRounding, NarrowedIsTheStoredDouble) {
    std::mt19937_64 random(20261211);
    for (const double value : doublesOfEveryKind(random)) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(identicalDoubles(narrowed(widened(value)), value));
        ASSERT_TRUE(identicalDoubles(narrowed(static_cast<Extended>(value)), stored(value)));
    }
}

// An entry whose sources are all subnormal, summed in whole units of 2^-1074, against the
// plain sum of the same terms in the same order; abundances that add up to 100 %.
TEST(AssistFreeRounding, WholeUnitsGiveThePlainSum) {
    std::mt19937_64 random(20261212);
    for (int round = 0; round < 3000; ++round) {
        const int terms = 1 + static_cast<int>(random() % 10);
        std::vector<double> sources;
        std::vector<double> abundances;
        double left = 100;
        for (int k = 0; k < terms; ++k) {
            const double share =
                k + 1 == terms ? left
                               : left * std::ldexp(static_cast<double>(random() % 1000 + 1), -10);
            abundances.push_back(share);
            left -= share;
            const std::uint64_t fraction = random() >> (12 + random() % 52);
            sources.push_back(std::bit_cast<double>(fraction));
        }
        double plain = 0.0;
        Extended units = 0;
        for (int k = 0; k < terms; ++k) {
            const auto i = static_cast<std::size_t>(k);
            plain = static_cast<double>(static_cast<Extended>(plain) +
                                        static_cast<Extended>(sources[i]) * abundances[i] / 100.0L);
            units = wholeUnits(units + static_cast<Extended>(static_cast<std::int64_t>(
                                           std::bit_cast<std::uint64_t>(sources[i]))) *
                                           abundances[i] / 100.0L);
        }
        ASSERT_TRUE(identicalDoubles(fromWholeUnits(units), plain)) << round;
    }
}

} // namespace
} // namespace orvane::calc
