#include "text/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "text/decimal_digits.h"
#include "text/shortest_text.h"

namespace orvane::text {
namespace {

Extended unfolded(Extended value) {
    volatile Extended hidden = value;
    return hidden;
}

std::string withComma(std::string text) {
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

TEST(Expand18Test, RoundsTheExactBinaryValueToNearestEven) {
    struct Case {
        Extended value;
        bool negative;
        const char* digits;
        int exponent;
    };
    const Case cases[] = {
        {0.0L, false, "", 0},
        {-0.0L, false, "", 0},
        {1.0L, false, "1", 1},
        {0.1, false, "100000000000000006", 0}, // the double: 0.1000000000000000055...
        {-2.675, true, "267499999999999982", 1},
        {0.00015L, false, "15", -3},
        {1000000000000000005.0L, false, "1", 19},                  // tie, even neighbour below
        {1000000000000000015.0L, false, "100000000000000002", 19}, // tie, even above
        {1152921504606846976.0L, false, "115292150460684698", 19}, // 2^60
        {1e-4000L, false, "1", -3999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        const DecimalDigits number = expand18(unfolded(c.value));
        EXPECT_EQ(number.negative, c.negative);
        EXPECT_EQ(number.digits, c.digits);
        EXPECT_EQ(number.exponent, c.exponent);
    }
}

// Doubles take a faster conversion than other extended values: both must give the
// digits printf gives for the exact value.
TEST(Expand18Test, DoublesAgreeWithTheExtendedConversion) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        double value;
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || value == 0) {
            continue;
        }
        char expected[40];
        std::snprintf(expected, sizeof expected, "%.17Le", static_cast<long double>(value));
        const DecimalDigits number = expand18(value);
        std::string digits = expected[0] == '-' ? expected + 1 : expected;
        digits.erase(1, 1); // the point
        digits.erase(digits.find('e'));
        digits.erase(digits.find_last_not_of('0') + 1);
        ASSERT_EQ(number.digits, digits) << expected;
        ASSERT_EQ(number.negative, value < 0) << expected;
        ASSERT_EQ(number.exponent, std::atoi(std::strchr(expected, 'e') + 1) + 1) << expected;
    }
}

TEST(RoundAtDecimalTest, HalfAwayFromZeroWithCarry) {
    struct Case {
        const char* digits;
        int exponent;
        int position;
        const char* roundedDigits;
        int roundedExponent;
    };
    const Case cases[] = {
        {"125", 0, 2, "13", 0},   // 0.125 -> 0.13
        {"124", 0, 2, "12", 0},   // 0.124 -> 0.12
        {"9995", 1, 2, "1", 2},   // 9.995 -> 10
        {"1234", 4, -2, "12", 4}, // 1234 -> 1200
        {"449", 3, -3, "", 0},    // 449 -> 0
        {"5", 3, -3, "1", 4},     // 500 -> 1000
        {"6", 0, 0, "1", 1},      // 0.6 -> 1
        {"4", 0, 0, "", 0},       // 0.4 -> 0
        {"5", -5, 2, "", 0},      // far below the cut
        {"12", 1, 5, "12", 1},    // nothing to cut
        {"1996", 0, 3, "2", 0},   // 0.1996 -> 0.200
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.digits) + " at " + std::to_string(c.position));
        DecimalDigits number{true, c.digits, c.exponent};
        roundAtDecimal(number, c.position);
        EXPECT_EQ(number.digits, c.roundedDigits);
        EXPECT_EQ(number.exponent, c.roundedExponent);
        EXPECT_EQ(number.negative, !number.digits.empty());
    }
}

TEST(RoundToSignificantTest, KeepsCountDigits) {
    DecimalDigits number{false, "103925999999999988", 3};
    roundToSignificant(number, 15);
    EXPECT_EQ(number.digits, "103926");
    EXPECT_EQ(number.exponent, 3);

    DecimalDigits nines{false, "999999999999999999", 2};
    roundToSignificant(nines, 15);
    EXPECT_EQ(nines.digits, "1");
    EXPECT_EQ(nines.exponent, 3);
}

struct GeneralCase {
    Extended value;
    const char* text;
};

const GeneralCase generalCases[] = {
    {103.92599999999999, "103.926"},
    {1234.56789, "1234.56789"},
    {123456789.5, "123456789.5"},
    {100.0L / 3.0L, "33.3333333333333"},
    {78.11184, "78.11184"},
    {0.0001, "0.0001"},
    {0.0000999999999999999999L, "0.0001"}, // rounds up into fixed notation
    {0.00001, "1E-5"},
    {1.5e-5, "1.5E-5"},
    {1e20, "1E20"},
    {1e15, "1E15"},
    {999999999999999.0, "999999999999999"},
    {999999999999999.5L, "1E15"},
    {1234567890123456.7L, "1.23456789012346E15"},
    {-0.5, "-0.5"},
    {0.1, "0.1"},
    {1.5e-20, "1.5E-20"},
    {-1.5e-20, "-1.5E-20"},
    {-1234.5e-10, "-1.2345E-7"},
    {0.0, "0"},
    {-0.0, "0"},
    {1.0, "1"},
    {-120.0, "-120"},
    {6.0, "6"},
    {2.5, "2.5"},
    {1e300, "1E300"},
};

TEST(GeneralTextTest, PointSeparator) {
    for (const GeneralCase& c : generalCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(generalText(unfolded(c.value), '.'), c.text);
    }
}

TEST(GeneralTextTest, CommaSeparator) {
    for (const GeneralCase& c : generalCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(generalText(unfolded(c.value), ','), withComma(c.text));
    }
}

TEST(GeneralTextTest, Precision) {
    EXPECT_EQ(generalText(unfolded(123456789.5L), '.', 8), "1.2345679E8");
    EXPECT_EQ(generalText(unfolded(12345678.4L), '.', 8), "12345678");
    EXPECT_EQ(generalText(unfolded(1.0L / 3.0L), '.', 18), "0.333333333333333333");
}

// Whole numbers take a short way to their digits; it must give what the decimal expansion
// gives (precision 14 takes the expansion for all of these), and stop short of 10^15.
TEST(GeneralTextTest, WholeNumbersGiveTheDigitsTheExpansionGives) {
    for (const long double value :
         {0.0L, -0.0L, 1.0L, 9.0L, 10.0L, 1023.0L, 270464.0L, 99999999999999.0L}) {
        SCOPED_TRACE(static_cast<double>(value));
        EXPECT_EQ(generalText(value, '.'), generalText(value, '.', 14));
        EXPECT_EQ(generalText(value, ','), generalText(value, ',', 14));
    }
    for (long long value = 0; value < 5000; value += 7) {
        ASSERT_EQ(generalText(static_cast<long double>(value), '.'),
                  generalText(static_cast<long double>(value), '.', 14));
    }
    EXPECT_EQ(generalText(999999999999999.0L, '.'), "999999999999999");
    EXPECT_EQ(generalText(1e15L, '.'), "1E15");
    EXPECT_EQ(generalText(-120.0L, '.'), "-120");
    EXPECT_EQ(generalText(2.5L, '.'), "2.5");
}

TEST(First8Test, CutsTheGeneralText) {
    struct Case {
        Extended value;
        const char* text;
    };
    const Case cases[] = {
        {1234.56789, "1234.567"},
        {123456789.5, "12345678"},
        {100.0L / 3.0L, "33.33333"},
        {78.11184, "78.11184"},
        {0.0, "0"},
        {1.5e-20, "1.5E-20"},
        {-1.23456789, "-1.23456"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(first8(generalText(unfolded(c.value), '.')), c.text);
    }
}

TEST(FixedTextTest, Values) {
    struct Case {
        Extended value;
        int precision;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {23.114523, 8, 5, "23.11452"},
        {0.0, 8, 5, "0.00000"},
        {0.0, 8, 2, "0.00"},
        {120.0, 8, 2, "120.00"},
        {78.11184, 8, 2, "78.11"},
        {-1.0L / 3.0L, 8, 2, "-0.33"},
        {-0.001, 8, 2, "0.00"},  // no negative zero
        {-0.005, 8, 2, "-0.01"}, // -0.005000000000000000104 rounds away
        {0.125, 8, 2, "0.13"},
        {2.675, 8, 2, "2.67"},    // held just below
        {99.995, 8, 2, "100.00"}, // held just above
        {0.5, 8, 3, "0.500"},
        {2.5, 8, 0, "3"},
        {0.4, 8, 0, "0"},
        {1.25, 1, 2, "1.30"},           // precision below 2 counts as 2
        {12345.6789, 6, 2, "12345.70"}, // six significant digits are the coarser cut
        {99999999.0, 8, 2, "99999999.00"},
        {99999999.6, 8, 2, "1E8"}, // the carry makes nine integer digits
        {123456789.5, 8, 2, "1.2345679E8"},
        {-123456789.5, 8, 2, "-1.2345679E8"},
        {172.232787, 24, 18, "172.232787000000002000"},
        {1.5e-19, 24, 18, "0.000000000000000000"},
        {1234567890123456789.0L, 24, 18, "1.23456789012345679E18"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fixedText(unfolded(c.value), c.precision, c.decimals, '.'), c.text);
        EXPECT_EQ(fixedText(unfolded(c.value), c.precision, c.decimals, ','), withComma(c.text));
    }
}

} // namespace
} // namespace orvane::text

namespace orvane::text {
namespace {

// The shortest text of a double reads back as that same double, and is no longer than
// needed.
TEST(ShortestText, ReadsBackExactlyWithTheFewestDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"},          {180.063388103, "180.063388103"}, {100, "100"},
        {-2.5, "-2.5"},        {1e-300, "1e-300"},               {0, "0"},
        {5e-324, "5e-324"},    {1.7976931348623157e308, "1.7976931348623157e+308"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string written = shortestText(c.value);
        EXPECT_EQ(written, c.text);
        EXPECT_EQ(std::strtod(written.c_str(), nullptr), c.value);
    }
}

} // namespace
} // namespace orvane::text
