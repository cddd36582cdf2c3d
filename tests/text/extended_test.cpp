#include "text/extended.h"

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>
#include <random>

#include <gtest/gtest.h>

#include "text/error.h"
#include "text/rounding.h"

namespace orvane::text {
namespace {

// Values the compiler cannot see, so that nothing is folded at compile time.
Extended opaque(Extended value) {
    volatile Extended hidden = value;
    return hidden;
}

std::string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

const std::string divisionText = Error::divisionByZero().what();
const std::string invalidText = Error::invalidOperation().what();
const std::string overflowText = Error::overflow().what();

TEST(CheckedDivideTest, Errors) {
    struct Case {
        Extended a;
        Extended b;
        const std::string& text;
    };
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    const Case cases[] = {
        {1.0L, 0.0L, divisionText},        {-1.0L, 0.0L, divisionText},
        {1.0L, -0.0L, divisionText},       {0.0L, 0.0L, invalidText},
        {nan, 2.0L, invalidText},          {2.0L, nan, invalidText},
        {1e4000L, 1e-4000L, overflowText}, {-1e4000L, 1e-4000L, overflowText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " / " + std::to_string(c.b));
        EXPECT_EQ(errorText([&] { checkedDivide(opaque(c.a), opaque(c.b)); }), c.text);
    }
}

TEST(CheckedDivideTest, QuotientIsExtended) {
    const Extended third = checkedDivide(opaque(1.0L), opaque(3.0L));
    EXPECT_EQ(third, 1.0L / 3.0L);
    EXPECT_NE(third, static_cast<Extended>(1.0 / 3.0));
    // underflow is silent
    EXPECT_EQ(checkedDivide(opaque(1e-4000L), opaque(1e4000L)), 0.0L);
}

TEST(StoreDoubleTest, OverflowAndInvalid) {
    EXPECT_EQ(errorText([] { storeDouble(opaque(1e4000L)); }), overflowText);
    EXPECT_EQ(errorText([] { storeDouble(opaque(-1e4000L)); }), overflowText);
    EXPECT_EQ(errorText([] { storeDouble(opaque(std::numeric_limits<Extended>::quiet_NaN())); }),
              invalidText);
}

TEST(StoreDoubleTest, RoundsAtTheTopOfTheRange) {
    const Extended max = DBL_MAX;
    // a quarter of the last step rounds down to the largest double; half a step, a tie
    // against the odd largest significand, rounds up and overflows
    EXPECT_EQ(storeDouble(opaque(max + std::ldexp(1.0L, 969))), DBL_MAX);
    EXPECT_EQ(errorText([&] { storeDouble(opaque(max + std::ldexp(1.0L, 970))); }), overflowText);
}

TEST(StoreDoubleTest, UnderflowIsSilent) {
    EXPECT_EQ(storeDouble(opaque(1e-4000L)), 0.0);
    EXPECT_EQ(storeDouble(opaque(4e-320L)), 4e-320);
    EXPECT_EQ(storeDouble(opaque(1.0L / 3.0L)), 1.0 / 3.0);
}

TEST(FloatFlagsTest, ReportsTheFlagsRaisedSinceClearing) {
    struct Case {
        const char* name;
        std::function<void()> compute;
        std::string text;
    };
    const Case cases[] = {
        {"1/0",
         [] {
             volatile Extended r = opaque(1.0L) / opaque(0.0L);
             (void)r;
         },
         divisionText},
        {"0/0",
         [] {
             volatile Extended r = opaque(0.0L) / opaque(0.0L);
             (void)r;
         },
         invalidText},
        {"overflow",
         [] {
             volatile Extended r = opaque(1e4000L) * opaque(1e4000L);
             (void)r;
         },
         overflowText},
        {"double overflow",
         [] {
             volatile double r = static_cast<double>(opaque(1e400L));
             (void)r;
         },
         overflowText},
        {"underflow",
         [] {
             volatile Extended r = opaque(1e-4000L) * opaque(1e-4000L);
             (void)r;
         },
         "(no error)"},
        {"inexact",
         [] {
             volatile Extended r = opaque(1.0L) / opaque(3.0L);
             (void)r;
         },
         "(no error)"},
        {"1/0 and 0/0",
         [] {
             volatile Extended r = opaque(1.0L) / opaque(0.0L);
             volatile Extended s = opaque(0.0L) / opaque(0.0L);
             (void)r;
             (void)s;
         },
         divisionText},
        {"0/0 and overflow",
         [] {
             volatile Extended r = opaque(1e4000L) * opaque(1e4000L);
             volatile Extended s = opaque(0.0L) / opaque(0.0L);
             (void)r;
             (void)s;
         },
         invalidText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearFloatFlags();
        EXPECT_EQ(errorText([&] {
                      c.compute();
                      throwOnFloatFlags();
                  }),
                  c.text);
    }
}

TEST(FloatFlagsTest, ClearForgetsEarlierFlags) {
    volatile Extended r = opaque(1.0L) / opaque(0.0L);
    (void)r;
    clearFloatFlags();
    EXPECT_NO_THROW(throwOnFloatFlags());
}

TEST(RoundHalfEvenTest, Values) {
    struct Case {
        Extended value;
        long long rounded;
    };
    const Case cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {-3.5L, -4},
        {0.5L, 0},
        {-0.5L, 0},
        {1.5L, 2},
        {2.4999999999L, 2},
        {2.5000000001L, 3},
        {-0.0L, 0}, // whole numbers: what every count is
        {-12.0L, -12},
        {9007199254740991.0L, 9007199254740991LL}, // 2^53 - 1
        {9007199254740993.0L, 9007199254740993LL}, // 2^53 + 1, no double holds it
        {2.0L + 0x1p-62L, 2},                      // a double would round it to 2
        {1e-4000L, 0},                             // below every double
        {0.49999999999999999995L, 0},
        {-0.50000000000000000005L, -1},
        {4611686018427387904.5L, 4611686018427387904LL}, // 2^62 + 1/2
        {4611686018427387905.5L, 4611686018427387906LL},
        {9223372036854775807.0L, std::numeric_limits<long long>::max()},
        // the range is symmetric: its negative end is -(2^63 - 1)
        {-9223372036854775807.0L, -std::numeric_limits<long long>::max()},
        {9223372036854775806.5L, 9223372036854775806LL}, // the last tie below 2^63, to even
        {-9223372036854775806.5L, -9223372036854775806LL},
        {-9223372036854775807.25L, -9223372036854775807LL}, // held as -(2^63 - 1)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value));
        // the engine reads the overflow and invalid flags after its steps: rounding raises none
        std::feclearexcept(FE_ALL_EXCEPT);
        EXPECT_EQ(roundHalfEven(opaque(c.value)), c.rounded);
        EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_UNDERFLOW | FE_INVALID), 0);
    }
}

TEST(RoundHalfEvenTest, TiesDoNotFollowTheRoundingMode) {
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    const long long up = roundHalfEven(opaque(2.5L));
    std::fesetround(FE_DOWNWARD);
    const long long down = roundHalfEven(opaque(3.5L));
    std::fesetround(saved);
    EXPECT_EQ(up, 2);
    EXPECT_EQ(down, 4);
}

// Against the FPU's own rounding to nearest (ties to even), on values of every size up to
// 2^63, near whole numbers and ties included, whatever rounding mode is set.
TEST(RoundHalfEvenTest, AgreesWithRoundingToNearestInEveryMode) {
    std::mt19937_64 random(20261208);
    std::vector<Extended> values;
    for (int k = 0; k < 4000; ++k) {
        const Extended magnitude =
            std::ldexp(static_cast<Extended>(random()) * 0x1p-64L, static_cast<int>(random() % 64));
        values.push_back(k % 2 == 0 ? magnitude : -magnitude);
        const Extended whole = std::floor(magnitude);
        for (const Extended near : {whole, whole + 0.5L, std::nextafter(whole + 0.5L, 0.0L),
                                    std::nextafter(whole + 0.5L, 0x1p63L)}) {
            if (near < 0x1p63L - 1) {
                values.push_back(near);
            }
        }
    }
    const int saved = std::fegetround();
    for (const Extended value : values) {
        std::fesetround(FE_TONEAREST);
        const long long expected = std::llrint(value);
        for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
            std::fesetround(mode);
            const long long rounded = roundHalfEven(opaque(value));
            std::fesetround(saved);
            ASSERT_EQ(rounded, expected) << static_cast<double>(value) << " in mode " << mode;
        }
    }
    std::fesetround(saved);
}

TEST(RoundHalfEvenTest, OutOfRangeIsInvalid) {
    const Extended cases[] = {
        std::numeric_limits<Extended>::quiet_NaN(),
        std::numeric_limits<Extended>::infinity(),
        9223372036854775808.0L, // 2^63
        9223372036854775807.5L,
        -9223372036854775809.0L,
        1e30L,
        // the negative mirrors: -2^63 itself is outside the symmetric range
        -std::numeric_limits<Extended>::infinity(),
        -9223372036854775808.0L,
        -9223372036854775807.5L, // rounds to -2^63; its negation once overflowed
        -1e30L,
    };
    for (const Extended value : cases) {
        SCOPED_TRACE(std::to_string(value));
        EXPECT_EQ(errorText([&] { roundHalfEven(opaque(value)); }), invalidText);
    }
}

TEST(RoundHalfEvenTest, DataFileProductAtTheNegativeEdgeIsInvalid) {
    // a weight of -4294967295 times a count of 2147483648.5 is exactly -(2^63 - 0.5)
    const Extended product = opaque(-4294967295.0L) * opaque(2147483648.5L);
    ASSERT_EQ(product, -9223372036854775807.5L);
    EXPECT_EQ(errorText([&] { roundHalfEven(product); }), invalidText);
    EXPECT_EQ(errorText([&] { roundHalfEven32(product); }), invalidText);
    EXPECT_EQ(errorText([&] { roundHalfEven(-product); }), invalidText);
}

TEST(RoundHalfEven32Test, Range) {
    EXPECT_EQ(roundHalfEven32(opaque(2147483647.4L)), 2147483647);
    EXPECT_EQ(roundHalfEven32(opaque(-2147483648.5L)), -2147483648);
    EXPECT_EQ(roundHalfEven32(opaque(-7.5L)), -8);
    EXPECT_EQ(errorText([] { roundHalfEven32(opaque(2147483647.5L)); }), invalidText);
    EXPECT_EQ(errorText([] { roundHalfEven32(opaque(-2147483649.5L)); }), invalidText);
    EXPECT_EQ(errorText([] { roundHalfEven32(opaque(1e30L)); }), invalidText);
}

} // namespace
} // namespace orvane::text
