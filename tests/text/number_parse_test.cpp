#include "text/number_parse.h"

#include <clocale>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::text {
namespace {

struct RealCase {
    const char* text;
    char separator;
    bool valid;
    double value;
};

const RealCase realCases[] = {
    {"1.5", '.', true, 1.5},
    {" 1.5 ", '.', true, 1.5},
    {"1,5", ',', true, 1.5},
    {"1,5", '.', false, 0},
    {"1.5", ',', true, 1.5}, // the data files' point is read under a comma locale too
    {"+.5", '.', true, 0.5},
    {"-,5", ',', true, -0.5},
    {"5.", '.', true, 5},
    {" 12", '.', true, 12},
    {"12 ", '.', true, 12},
    {"0.1", '.', true, 0.1},
    {"1e3", '.', true, 1000},
    {"1E+3", '.', true, 1000},
    {"2,5e-1", ',', true, 0.25},
    {"-0", '.', true, -0.0},
    {"1e-400", '.', true, 0.0}, // underflow is silent
    {"1.7976931348623157e308", '.', true, std::numeric_limits<double>::max()},
    {"", '.', false, 0},
    {" ", '.', false, 0},
    {".", '.', false, 0},
    {"-", '.', false, 0},
    {"+", '.', false, 0},
    {"1e", '.', false, 0},
    {"1e+", '.', false, 0},
    {"e5", '.', false, 0},
    {".e5", '.', false, 0},
    {"1.2.3", '.', false, 0},
    {"1 2", '.', false, 0},
    {"- 1", '.', false, 0},
    {"\t1", '.', false, 0},
    {"1\t", '.', false, 0},
    {"0x10", '.', false, 0},
    {"inf", '.', false, 0},
    {"nan", '.', false, 0},
    {"1e5000", '.', false, 0},
    {"1,000.5", '.', false, 0},
    {"1d", '.', false, 0},
    // "." is a decimal point under every separator, but a number has at most one
    {"12.011", ',', true, 12.011},
    {"-.5", ',', true, -0.5},
    {"5.", ',', true, 5},
    {"2.5e-1", ',', true, 0.25},
    {" 12,011 ", ',', true, 12.011},
    {"1,5.3", ',', false, 0},
    {"1.5,3", ',', false, 0},
    {"1.2.3", ',', false, 0},
    {"1,2,3", ',', false, 0},
    {",.5", ',', false, 0},
    {".", ',', false, 0},
    {",", ',', false, 0},
    {"1.0e3,5", ',', false, 0},
    {"1e3.5", ',', false, 0},
    {"1,000.5", ',', false, 0},
    {"1,5", '.', false, 0}, // under a point locale nothing changes
};

void checkReals() {
    for (const RealCase& c : realCases) {
        SCOPED_TRACE(std::string("'") + c.text + "' with '" + c.separator + "'");
        const std::optional<double> value = tryParseReal(c.text, c.separator);
        ASSERT_EQ(value.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(*value, c.value);
            EXPECT_EQ(std::signbit(*value), std::signbit(c.value));
            EXPECT_EQ(parseReal(c.text, c.separator), c.value);
        } else {
            try {
                parseReal(c.text, c.separator);
                ADD_FAILURE() << "no error";
            } catch (const Error& error) {
                EXPECT_EQ(std::string(error.what()),
                          std::string("'") + c.text + "' は浮動小数点数ではありません");
            }
        }
    }
}

TEST(ParseRealTest, Texts) {
    checkReals();
}

TEST(ParseRealTest, IgnoresTheProcessLocale) {
    // under a comma locale strtold itself would stop at the point
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
        GTEST_SKIP() << "no comma locale installed";
    }
    checkReals();
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ParseRealTest, ANumberBeyondTheDoubleRangeOverflowsWhenStored) {
    const auto message = [](const char* text) {
        try {
            parseReal(text, '.');
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("1e400"), "浮動小数点数のオーバーフロー");
    EXPECT_EQ(message("-1e400"), "浮動小数点数のオーバーフロー");
    EXPECT_FALSE(tryParseReal("1e400", '.'));
    // beyond the extended range it is no number at all
    EXPECT_EQ(message("1e5000"), "'1e5000' は浮動小数点数ではありません");
    EXPECT_EQ(parseReal("1e-400", '.'), 0.0);
}

TEST(ParseRealTest, ReadsInExtendedPrecisionThenStores) {
    // the long double nearest to the text, rounded to double
    EXPECT_EQ(parseReal("0.3", '.'), 0.3);
    EXPECT_EQ(parseReal("123456789012345678901234567890", '.'), 1.2345678901234568e29);
}

TEST(ParseTest, ACellWithANulIsQuotedWhole) {
    const std::string_view cell("12\0.5", 5);
    const auto message = [](const std::function<void()>& read) {
        try {
            read();
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { parseReal(cell, '.'); }), "'12\\0.5' は浮動小数点数ではありません");
    EXPECT_EQ(message([&] { parseInteger(cell); }), "'12\\0.5' は整数ではありません");
}

struct IntegerCase {
    const char* text;
    bool valid;
    int value;
};

const IntegerCase integerCases[] = {
    {"12", true, 12},
    {" 12", true, 12},
    {"+5", true, 5},
    {"-5", true, -5},
    {"007", true, 7},
    {"0", true, 0},
    {"$1F", true, 31},
    {"$1f", true, 31},
    {"0x1f", true, 31},
    {"0X1F", true, 31},
    {"x10", true, 16},
    {"X10", true, 16},
    {"-$10", true, -16},
    {" +0x10", true, 16},
    {"2147483647", true, 2147483647},
    {"-2147483648", true, -2147483647 - 1},
    {"$7FFFFFFF", true, 2147483647},
    {"$FFFFFFFF", true, -1}, // 32 bits taken as the pattern
    {"$80000000", true, -2147483647 - 1},
    {"0000000000000000000012", true, 12},
    {"12 ", false, 0},
    {"", false, 0},
    {" ", false, 0},
    {"-", false, 0},
    {"- 5", false, 0},
    {"1.0", false, 0},
    {"1e3", false, 0},
    {"2147483648", false, 0},
    {"-2147483649", false, 0},
    {"99999999999999999999999", false, 0},
    {"$100000000", false, 0},
    {"$", false, 0},
    {"0x", false, 0},
    {"x", false, 0},
    {"$G", false, 0},
    {"0x-1", false, 0},
    {"$ 1", false, 0},
    {"00x1", false, 0},
    {"h10", false, 0},
    {"\t1", false, 0},
};

TEST(ParseIntegerTest, Texts) {
    for (const IntegerCase& c : integerCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        const std::optional<int> value = tryParseInteger(c.text);
        ASSERT_EQ(value.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(*value, c.value);
            EXPECT_EQ(parseInteger(c.text), c.value);
        } else {
            try {
                parseInteger(c.text);
                ADD_FAILURE() << "no error";
            } catch (const Error& error) {
                EXPECT_EQ(std::string(error.what()),
                          std::string("'") + c.text + "' は整数ではありません");
            }
        }
    }
}

} // namespace
} // namespace orvane::text
