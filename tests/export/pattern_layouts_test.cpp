#include "export/pattern_layouts.h"

#include <algorithm>
#include <clocale>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "plot/test_patterns.h"

namespace orvane::exporting {
namespace {

using plot::testing::makePattern;

// N0 = 100, W = 1, P[100] = 100, P[101] = 25: C = 100.2, FW = 100.5, s = 2.
calc::PatternState layoutExample() {
    return makePattern(100, 1, {{99, 0}, {100, 100}, {101, 25}});
}

long countLines(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

TEST(PatternLayouts, NormalLayoutOfTheWorkedExample) {
    const calc::PatternState pattern = layoutExample();
    ASSERT_EQ(pattern.centroid, 100.2);
    EXPECT_EQ(normalLayout(pattern, 100.5, 98, 102), "   98.30\t  0.000\r\n"
                                                     "   99.30\t  0.000\r\n"
                                                     "  100.30\t100.000\r\n"
                                                     "  101.30\t 25.000\r\n"
                                                     "  102.30\t  0.000\r\n");
}

TEST(PatternLayouts, SpecialLayoutOfTheWorkedExample) {
    EXPECT_EQ(specialLayout(layoutExample(), 100.5, 98, 102), "   98.30\t0\r\n"
                                                              "   98.30\t  0.000\r\n"
                                                              "   99.30\t\t0\r\n"
                                                              "   99.30\t\t  0.000\r\n"
                                                              "  100.30\t\t\t0\r\n"
                                                              "  100.30\t\t\t100.000\r\n"
                                                              "  101.30\t\t\t\t0\r\n"
                                                              "  101.30\t\t\t\t 25.000\r\n"
                                                              "  102.30\t\t\t\t\t0\r\n"
                                                              "  102.30\t\t\t\t\t  0.000\r\n");
}

TEST(PatternLayouts, AProcessLocaleWithADecimalCommaChangesNoByte) {
    // The window's toolkit adopts the user's locale for the C library too.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no comma locale installed";
    }
    const std::string normal = normalLayout(layoutExample(), 100.5, 98, 102);
    const std::string special = specialLayout(layoutExample(), 100.5, 98, 102);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(normal, normalLayout(layoutExample(), 100.5, 98, 102));
    EXPECT_EQ(special, specialLayout(layoutExample(), 100.5, 98, 102));
    EXPECT_EQ(normal.substr(0, 18), "   98.30\t  0.000\r\n");
}

TEST(PatternLayouts, LineCountsFollowTheHalfSpan) {
    const calc::PatternState pattern = makePattern(35, 1, {{35, 100}});
    struct Case {
        int s;
        long normal, special;
    };
    const Case cases[] = {{1, 3, 6}, {2, 5, 10}, {7, 15, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s);
        const std::string normal = normalLayout(pattern, 34.97, 35 - c.s, 35 + c.s);
        const std::string special = specialLayout(pattern, 34.97, 35 - c.s, 35 + c.s);
        EXPECT_EQ(countLines(normal), c.normal);
        EXPECT_EQ(countLines(special), c.special);
        // CR LF after every line and nothing after the last
        EXPECT_EQ(std::count(normal.begin(), normal.end(), '\r'), c.normal);
        EXPECT_EQ(normal.substr(normal.size() - 2), "\r\n");
        EXPECT_EQ(special.substr(special.size() - 2), "\r\n");
    }
}

TEST(PatternLayouts, LargeMassesAreNotCut) {
    const calc::PatternState pattern = makePattern(123457, 0, {{123457, 100}});
    EXPECT_EQ(normalLayout(pattern, 123456.789, 123456, 123458), "123455.79\t  0.000\r\n"
                                                                 "123456.79\t100.000\r\n"
                                                                 "123457.79\t  0.000\r\n");
}

TEST(PatternLayouts, IndicesOutsideTheArrayAreWrittenAsZero) {
    // The empty formula: N0 = 0, W = 0, P = {100}, s = 1 reaches index -1 and index 1.
    const calc::PatternState pattern = makePattern(0, 0, {{0, 100}});
    EXPECT_EQ(normalLayout(pattern, 0, -1, 1), "   -1.00\t  0.000\r\n"
                                               "    0.00\t100.000\r\n"
                                               "    1.00\t  0.000\r\n");
    EXPECT_EQ(specialLayout(pattern, 0, -1, 1), "   -1.00\t0\r\n"
                                                "   -1.00\t  0.000\r\n"
                                                "    0.00\t\t0\r\n"
                                                "    0.00\t\t100.000\r\n"
                                                "    1.00\t\t\t0\r\n"
                                                "    1.00\t\t\t  0.000\r\n");
}

TEST(PatternLayouts, TheSpanIsGivenByItsEnds) {
    // C - N0 = 0.2 and FW - N0 = 0.5 put index j at mass j + 0.3; the array ends at 103
    struct Case {
        long long first, last;
        const char* normal;
        const char* special;
    };
    const Case cases[] = {
        {102, 101, "", ""},
        {101, 101, "  101.30\t 25.000\r\n", "  101.30\t0\r\n  101.30\t 25.000\r\n"},
        {100, 101, "  100.30\t100.000\r\n  101.30\t 25.000\r\n",
         // the columns count from the first index, not from N0
         "  100.30\t0\r\n  100.30\t100.000\r\n  101.30\t\t0\r\n  101.30\t\t 25.000\r\n"},
        {103, 104, "  103.30\t  0.000\r\n  104.30\t  0.000\r\n",
         "  103.30\t0\r\n  103.30\t  0.000\r\n  104.30\t\t0\r\n  104.30\t\t  0.000\r\n"},
        {-2, -2, "   -1.70\t  0.000\r\n", "   -1.70\t0\r\n   -1.70\t  0.000\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        EXPECT_EQ(normalLayout(layoutExample(), 100.5, c.first, c.last), c.normal);
        EXPECT_EQ(specialLayout(layoutExample(), 100.5, c.first, c.last), c.special);
    }
}

// Counts what it is given and keeps nothing.
class CountingSink : public OutputSink {
public:
    void write(std::string_view bytes) override {
        total += bytes.size();
        lineEnds += std::count(bytes.begin(), bytes.end(), '\n');
        largest = std::max(largest, bytes.size());
    }
    unsigned long long total = 0;
    long long lineEnds = 0;
    std::size_t largest = 0;
};

TEST(PatternLayouts, TheSpecialLayoutGoesOutInPiecesOfBoundedSize) {
    // 10001 indices, the widest line 10001 TABs: every mass is 8 characters and every
    // intensity 7, so index t (from 1) takes (8 + t + 3) + (8 + t + 9) bytes
    const long long n = 10001;
    const calc::PatternState pattern = makePattern(5000, 0, {{5000, 100}});
    CountingSink sink;
    writeSpecialLayout(sink, pattern, 5000.0, 0, n - 1);
    EXPECT_EQ(sink.total, static_cast<unsigned long long>(28 * n + n * (n + 1)));
    EXPECT_EQ(sink.lineEnds, 2 * n);
    EXPECT_LE(sink.largest, 4096u); // no line is made whole
}

TEST(PatternLayouts, ASpanEndingAtTheLargestIndexEnds) {
    const long long last = std::numeric_limits<long long>::max();
    CountingSink normal;
    CountingSink special;
    writeNormalLayout(normal, layoutExample(), 100.5, last, last);
    writeSpecialLayout(special, layoutExample(), 100.5, last, last);
    EXPECT_EQ(normal.lineEnds, 1);
    EXPECT_EQ(special.lineEnds, 2);
}

} // namespace
} // namespace orvane::exporting
