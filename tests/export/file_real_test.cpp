#include "export/file_real.h"

#include <clocale>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace orvane::exporting {
namespace {

TEST(FileReal, RoundsTheEighteenDigitExpansionHalfAwayFromZero) {
    struct Case {
        long double value;
        int width, decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.125, 0, 2, "0.13"},    // an exact tie goes away from zero
        {2.675, 0, 2, "2.67"},    // held just below 2.675
        {99.995, 0, 2, "100.00"}, // held just above, and the carry adds a digit
        {0.015, 0, 2, "0.01"},    // 0.01499999999999999944...
        {1.005, 0, 2, "1.00"},    // 1.00499999999999989...
        {0.5, 0, 3, "0.500"},
        {0.0005, 0, 3, "0.001"},
        {0.00049, 0, 3, "0.000"},
        {9.9999, 0, 2, "10.00"},
        {0, 7, 3, "  0.000"},
        {-0.0, 7, 3, "  0.000"},
        {25, 7, 3, " 25.000"},
        {100, 7, 3, "100.000"},
        {98.3, 8, 2, "   98.30"},
        {-1.5, 8, 2, "   -1.50"},
        {-0.7, 8, 2, "   -0.70"},
        {-0.0001, 0, 3, "-0.000"}, // a negative value keeps its sign
        {-99.995, 0, 2, "-100.00"},
        {123456.789, 8, 2, "123456.79"}, // longer than the field: written whole
        {12345.678, 8, 2, "12345.68"},
        {1e20, 0, 2, "100000000000000000000.00"},
        {123456789012345678901.0L, 0, 1, "123456789012345679000.0"}, // 18 digits, then zeros
        {1e-25, 0, 2, "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fileReal(c.value, c.width, c.decimals), c.text);
    }
}

TEST(FileReal, ExpansionComesBeforeTheRounding) {
    // Two steps below 0.005L lie under 0.005 by less than half an 18th digit: the
    // expansion reads 0.005 and the rounding then goes up. A value further down stays.
    const long double justBelow = std::nextafter(std::nextafter(0.005L, 0.0L), 0.0L);
    EXPECT_EQ(fileReal(justBelow, 0, 2), "0.01");
    EXPECT_EQ(fileReal(0.0049999999999999L, 0, 2), "0.00");
}

TEST(FileReal, PointIsAFullStopWhateverTheLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no comma locale installed";
    }
    const std::string text = fileReal(1234.5, 10, 3);
    const std::string extended = fileReal(0.1L, 6, 3); // no double: the other conversion
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "  1234.500");
    EXPECT_EQ(extended, " 0.100");
}

} // namespace
} // namespace orvane::exporting
