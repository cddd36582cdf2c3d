#include "calc/isotope_engine.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/composition_summary.h"
#include "calc_test_support.h"
#include "text/error.h"
#include "text/number_text.h"

namespace orvane::calc {
namespace {

using support::ElementCells;
using support::IsotopeCells;
using support::shown;

// The element table, the isotope table and everything the two stages write.
struct Bench {
    Bench(const std::vector<ElementCells>& elementCells, const std::vector<IsotopeCells>& rows)
        : elements(support::elementTable(elementCells)), isotopes(support::isotopeTable(rows)) {}

    /// Summary and engine; the error message, or "" when both went through.
    std::string run(const EngineProgress& progress = {}) {
        try {
            support::summarise(elements, 1, separator, composition, msData);
            support::runEngine(composition, isotopes, separator, pattern, msData, msRange,
                               progress);
        } catch (const text::Error& error) {
            return error.what();
        }
        return {};
    }

    std::vector<int> flaggedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < msData.rowCount(); ++r) {
            if (msData.cell(2, r, '.') == "Calcd") {
                rows.push_back(r);
            }
        }
        return rows;
    }

    data::TextGrid elements;
    data::TextGrid isotopes;
    char separator = '.';
    support::Summary composition;
    MsDataGrid msData;
    support::MsRangeFields msRange;
    PatternState pattern;
};

const IsotopeCells chlorineWidth2{"2", {"2"}, {"75.77", "24.23"}};

TEST(IsotopeEngine, ExampleADichlorine) {
    Bench bench({{"Cl", "35.45", "2"}}, {chlorineWidth2});
    ASSERT_EQ(bench.run(), "");
    const PatternState& pattern = bench.pattern;
    EXPECT_EQ(pattern.n0, 71);
    EXPECT_EQ(pattern.w, 4);
    ASSERT_EQ(pattern.p.size(), 84u);

    EXPECT_EQ(bench.msData.rowCount(), 84);
    EXPECT_EQ(bench.flaggedRows(), (std::vector<int>{71, 73, 75}));
    EXPECT_EQ(shown(bench.msData.value(71), 15), "172.232787");
    EXPECT_EQ(shown(bench.msData.value(73), 15), "110.154426");
    EXPECT_EQ(shown(bench.msData.value(75), 15), "17.612787");
    EXPECT_EQ(bench.msRange.edit5, "63");
    EXPECT_EQ(bench.msRange.edit6, "79");

    EXPECT_EQ(pattern.p[71], 100.0);
    EXPECT_EQ(shown(pattern.p[73], 15), "63.9567110993797");
    EXPECT_EQ(shown(pattern.p[75], 15), "10.2261522366238");
    for (std::size_t i = 0; i < pattern.p.size(); ++i) {
        if (i != 71 && i != 73 && i != 75) {
            EXPECT_EQ(pattern.p[i], 0.0) << i;
        }
    }
    EXPECT_EQ(shown(pattern.p[71] + pattern.p[73] + pattern.p[75], 12), "174.182863336");
    EXPECT_EQ(text::fixedText(pattern.centroid, 8, 4, '.'), "71.9692");
}

TEST(IsotopeEngine, AbundancesAreReadWithTheLocaleSeparator) {
    Bench comma({{"Cl", "35,45", "2"}}, {{"2", {"2"}, {"75,77", "24,23"}}});
    comma.separator = ',';
    ASSERT_EQ(comma.run(), "");
    Bench point({{"Cl", "35.45", "2"}}, {chlorineWidth2});
    ASSERT_EQ(point.run(), "");
    EXPECT_EQ(comma.pattern.p, point.pattern.p);
    std::string text = point.msData.cell(1, 71, '.');
    EXPECT_TRUE(text.starts_with("172.232787000000")) << text;
    text[3] = ',';
    EXPECT_EQ(comma.msData.cell(1, 71, ','), text);
    // the data files write "." decimals: under a "," locale they are read all the same
    point.separator = ',';
    ASSERT_EQ(point.run(), "");
    EXPECT_EQ(point.pattern.p, comma.pattern.p);
}

TEST(IsotopeEngine, ExampleBNegativeOffsets) {
    const std::vector<ElementCells> elements = {{"C", "12.011", "2"}, {"Br", "79.904", "1"}};
    const IsotopeCells carbon{"1", {"1"}, {"98.9", "1.1"}};
    Bench bench(elements, {carbon, {"1", {"-1", "1"}, {"0", "50.69", "49.31"}}});
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.n0, 104);
    EXPECT_EQ(bench.pattern.w, 3);
    EXPECT_EQ(bench.pattern.p.size(), 114u);
    EXPECT_EQ(bench.msRange.edit5, "98");
    EXPECT_EQ(bench.msRange.edit6, "110");
    EXPECT_EQ(bench.flaggedRows(), (std::vector<int>{103, 104, 105, 106, 107}));

    struct Entry {
        int index;
        std::string grid; // before normalisation
        std::string normalised;
        int digits; // as many as the example lists
    };
    const Entry entries[] = {
        {103, "148.74286047", "100", 15},       {104, "3.30873906", "2.22446916", 9},
        {105, "144.71184", "97.2899402", 9},    {106, "3.21866094", "2.16390953", 9},
        {107, "0.01789953", "0.0120338751", 9},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.index);
        EXPECT_EQ(shown(bench.msData.value(e.index), 15), e.grid);
        EXPECT_EQ(shown(bench.pattern.p[static_cast<std::size_t>(e.index)], e.digits),
                  e.normalised);
    }
    EXPECT_EQ(bench.pattern.p[103], 100.0);
    EXPECT_EQ(text::fixedText(bench.pattern.centroid, 8, 4, '.'), "104.0082");

    // A bad abundance of Br stops the run after C: the grid shows the pattern after C.
    Bench stopped(elements, {carbon, {"1", {"-1", "1"}, {"0", "50.69", "49,31"}}});
    EXPECT_EQ(stopped.run(), "'49,31' は浮動小数点数ではありません");
    EXPECT_EQ(stopped.flaggedRows(), (std::vector<int>{104, 105, 106}));
    EXPECT_EQ(shown(stopped.msData.value(104), 15), "293.4363");
    EXPECT_EQ(shown(stopped.msData.value(105), 15), "6.5274");
    EXPECT_EQ(shown(stopped.msData.value(106), 15), "0.0363");
    EXPECT_FALSE(stopped.pattern.exists());
}

TEST(IsotopeEngine, ExampleCNarrowWindowDropsTheHeavyIsotope) {
    Bench bench({{"Cl", "35.45", "1"}}, {{"1", {"2"}, {"75.77", "24.23"}}});
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.n0, 35);
    EXPECT_EQ(bench.pattern.w, 1);
    EXPECT_EQ(bench.flaggedRows(), (std::vector<int>{35}));
    EXPECT_EQ(shown(bench.msData.value(35), 15), "227.31");
    EXPECT_EQ(bench.pattern.p[35], 100.0);
    EXPECT_EQ(bench.pattern.p[37], 0.0);
    EXPECT_EQ(bench.pattern.centroid, 35.0);
}

TEST(IsotopeEngine, ExampleDEmptyFormula) {
    Bench bench({{"C", "12.011", "0"}}, {{"1", {"1"}, {"98.9", "1.1"}}});
    bench.msRange = {"keep5", "keep6"};
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.n0, 0);
    EXPECT_EQ(bench.pattern.w, 0);
    EXPECT_EQ(bench.pattern.p, (std::vector<double>{100.0}));
    EXPECT_EQ(bench.pattern.centroid, 0.0);
    EXPECT_EQ(bench.msRange.edit5, "keep5");
    EXPECT_EQ(bench.msRange.edit6, "keep6");
    EXPECT_TRUE(bench.msData.isBlank()); // blanked by the summary, not refilled
}

// x0 = x1 = 50 at offsets 0 and 1: after k atom steps k + 1 entries are non-zero.
TEST(IsotopeEngine, WindowBelowTheArrayIsClipped) {
    // N0 = 1, W = 2: the window -1 .. 3 starts below the array, which is 0 .. 7
    Bench bench({{"H", "1.008", "1"}}, {{"2", {"1"}, {"99.9885", "0.0115"}}});
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.n0, 1);
    EXPECT_EQ(bench.pattern.w, 2);
    EXPECT_EQ(bench.pattern.p.size(), 8u);
    EXPECT_EQ(bench.msRange.edit5, "-3");
    EXPECT_EQ(bench.msRange.edit6, "5");
    EXPECT_EQ(bench.pattern.p[1], 100.0);
    EXPECT_EQ(shown(bench.pattern.p[2], 12), "0.0115013226521");
    // a negative offset reaching below index 0 is dropped
    Bench below({{"X", "1", "1"}}, {{"1", {"-3"}, {"50", "50"}}});
    ASSERT_EQ(below.run(), "");
    EXPECT_EQ(below.pattern.p, (std::vector<double>{0.0, 100.0, 0.0, 0.0, 0.0}));
}

TEST(IsotopeEngine, EditedIsotopeCellsAreReadAgain) {
    Bench bench({{"Cl", "35.45", "2"}}, {chlorineWidth2});
    ASSERT_EQ(bench.run(), "");
    bench.isotopes.setCell(data::FirstAbundanceColumn, 1, "50");
    bench.isotopes.setCell(data::FirstAbundanceColumn + 1, 1, "50");
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.p[73], 100.0);
    EXPECT_EQ(bench.pattern.p[71], 50.0);
    bench.isotopes.setCell(data::WidthColumn, 1, "1");
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.w, 2);
}

TEST(IsotopeEngine, AtomCountsRoundHalfToEven) {
    struct Case {
        std::string count;
        std::size_t nonZero;
        int n0;
        int w;
    };
    const Case cases[] = {
        {"2.5", 3, 25, 5},
        {"3.5", 5, 35, 7},
        {"1", 2, 10, 2},
        {"0.3", 1, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        Bench bench({{"X", "10", c.count}}, {{"2", {"1"}, {"50", "50"}}});
        bench.msRange = {"keep5", "keep6"};
        ASSERT_EQ(bench.run(), "");
        EXPECT_EQ(bench.pattern.n0, c.n0);
        EXPECT_EQ(bench.pattern.w, c.w);
        std::size_t nonZero = 0;
        for (double v : bench.pattern.p) {
            nonZero += v != 0.0 ? 1 : 0;
        }
        EXPECT_EQ(nonZero, c.nonZero);
        // the grid is rewritten also when no atom step runs; the range texts only when one does
        EXPECT_EQ(bench.msData.rowCount(), 3 * c.w + c.n0 + 1);
        EXPECT_NE(bench.msData.value(c.n0), 0.0);
        EXPECT_EQ(bench.msRange.edit5 == "keep5", c.nonZero == 1);
    }
}

TEST(IsotopeEngine, TiesForTheTallestEntryBothBecome100) {
    Bench bench({{"X", "10", "1"}}, {{"1", {"1"}, {"50", "50"}}});
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.p[10], 100.0);
    EXPECT_EQ(bench.pattern.p[11], 100.0);
    EXPECT_EQ(bench.pattern.centroid, 10.5);
}

TEST(IsotopeEngine, AllZeroWindowFailsAndKeepsThePreviousPattern) {
    const IsotopeCells cases[] = {
        {"1", {"1"}, {"0", "0"}},   // no abundance at all
        {"0", {"1"}, {"0", "100"}}, // everything lands outside the window
    };
    for (const IsotopeCells& row : cases) {
        SCOPED_TRACE(row.width);
        Bench bench({{"X", "10", "1"}}, {{"1", {"1"}, {"50", "50"}}});
        ASSERT_EQ(bench.run(), "");
        const PatternState before = bench.pattern;
        bench.isotopes = support::isotopeTable({row});
        EXPECT_EQ(bench.run(), "不正な浮動小数点数演算命令");
        EXPECT_EQ(bench.pattern.p, before.p);
        EXPECT_EQ(bench.pattern.n0, before.n0);
        EXPECT_EQ(bench.pattern.centroid, before.centroid);
        // the grid shows the unnormalised, all-zero window
        EXPECT_TRUE(bench.flaggedRows().empty());
    }
}

TEST(IsotopeEngine, BadCellsStopAtTheirStep) {
    struct Case {
        IsotopeCells second; // the isotope row of the second element
        std::string message;
        bool firstConvolved; // the grid shows the pattern after the first element
    };
    const Case cases[] = {
        {{"one", {"1"}, {"50", "50"}}, "'one' は整数ではありません", false},
        {{"", {"1"}, {"50", "50"}}, "'' は整数ではありません", false},
        {{"1", {"1", "2.0"}, {"50", "50"}}, "'2.0' は整数ではありません", true},
        {{"1", {"1"}, {"50", "5 0"}}, "'5 0' は浮動小数点数ではありません", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Bench bench({{"A", "10", "1"}, {"B", "20", "1"}}, {{"1", {"1"}, {"50", "50"}}, c.second});
        bench.msRange = {"keep5", "keep6"};
        EXPECT_EQ(bench.run(), c.message);
        EXPECT_FALSE(bench.pattern.exists());
        if (c.firstConvolved) {
            EXPECT_EQ(bench.msData.rowCount(), 3 * 2 + 30 + 1);
            EXPECT_EQ(bench.flaggedRows(), (std::vector<int>{30, 31}));
            EXPECT_EQ(bench.msData.value(30), 150.0);
            EXPECT_EQ(bench.msRange.edit5, "26");
            EXPECT_EQ(bench.msRange.edit6, "34");
        } else {
            EXPECT_TRUE(bench.msData.isBlank());
            EXPECT_EQ(bench.msRange.edit5, "keep5");
        }
    }
}

TEST(IsotopeEngine, RefusesArraysItCannotBuild) {
    struct Case {
        std::vector<ElementCells> elements;
        std::string width;
        std::string message;
    };
    const Case cases[] = {
        {{{"X", "10000000", "2"}},
         "1",
         "The formula is too large to compute (20000007 mass steps)."},
        {{{"X", "2000000000", "1"}, {"Y", "2000000000", "1"}},
         "0",
         "The formula is too large to compute (4000000001 mass steps)."},
        {{{"X", "-100", "1"}}, "0", "The formula cannot be computed (-99 mass steps)."},
        {{{"X", "10", "1"}}, "-5", "The formula cannot be computed (-4 mass steps)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<IsotopeCells> rows(c.elements.size(), {c.width, {"1"}, {"50", "50"}});
        Bench bench(c.elements, rows);
        bench.msRange = {"keep5", "keep6"};
        EXPECT_EQ(bench.run(), c.message);
        EXPECT_FALSE(bench.pattern.exists());
        EXPECT_TRUE(bench.msData.isBlank());
        EXPECT_EQ(bench.msRange.edit5, "keep5");
    }
}

TEST(IsotopeEngine, LargestArrayIsBuilt) {
    // 3W + N0 + 1 = 20000000 exactly: one atom step over a window of one entry
    Bench bench({{"X", "19999999", "1"}}, {{"0", {}, {"100"}}});
    ASSERT_EQ(bench.run(), "");
    EXPECT_EQ(bench.pattern.p.size(), static_cast<std::size_t>(maxPatternLength));
    EXPECT_EQ(bench.pattern.p.back(), 100.0);
}

TEST(IsotopeEngine, NegativeWidthLeavesAnEmptyWindow) {
    // W = -1: the array is N0 - 2 long, the window empty, and the centroid 0 / 0
    Bench bench({{"X", "10", "1"}}, {{"-1", {"1"}, {"50", "50"}}});
    EXPECT_EQ(bench.run(), "不正な浮動小数点数演算命令");
    EXPECT_EQ(bench.msData.rowCount(), 8);
    EXPECT_TRUE(bench.flaggedRows().empty());
}

TEST(IsotopeEngine, OverflowIsReportedAlsoOutsideTheWindow) {
    struct Case {
        IsotopeCells row;
        std::string message;
    };
    const Case cases[] = {
        {{"1", {"1"}, {"1e308", "1"}}, "浮動小数点数のオーバーフロー"},
        // the overflowing sum lands at N0 + 2, outside the window but inside the array
        {{"1", {"2"}, {"50", "1e308"}}, "浮動小数点数のオーバーフロー"},
        // large, but no sum overflows
        {{"1", {"2"}, {"50", "3e307"}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.abundances[1]);
        Bench bench({{"X", "10", "1"}}, {c.row});
        EXPECT_EQ(bench.run(), c.message);
    }
}

TEST(IsotopeEngine, ProgressIsReportedAndCanCancel) {
    // 5000 atom steps of a monoisotopic element, then 300 real ones
    const std::vector<ElementCells> elements = {{"F", "19", "5000"}, {"C", "12", "300"}};
    const std::vector<IsotopeCells> rows = {{"0", {}, {"100"}}, {"1", {"1"}, {"98.93", "1.07"}}};

    Bench plain(elements, rows);
    ASSERT_EQ(plain.run(), "");

    Bench watched(elements, rows);
    std::vector<std::pair<long long, long long>> calls;
    ASSERT_EQ(watched.run([&calls](long long done, long long total) {
        calls.emplace_back(done, total);
        return true;
    }),
              "");
    ASSERT_GE(calls.size(), 2u);
    // the idle steps count one each; the carbon steps count their terms too
    EXPECT_EQ(calls.front().first, 5000);
    EXPECT_GT(calls.front().second, 5300);
    // the last call: everything done; the estimate takes the tails as Gaussian, which a
    // carbon-only sum, skewed towards 13C, outreaches by a third
    EXPECT_EQ(calls.back().first, calls.back().second);
    EXPECT_NEAR(static_cast<double>(calls.front().second) / calls.back().second, 1.0, 0.35);
    for (std::size_t i = 1; i < calls.size(); ++i) {
        EXPECT_GE(calls[i].first, calls[i - 1].first);
        EXPECT_LE(calls[i].first, calls[i].second);
    }
    EXPECT_EQ(watched.pattern.p, plain.pattern.p);

    Bench cancelled(elements, rows);
    ASSERT_EQ(cancelled.run(), "");
    const PatternState before = cancelled.pattern;
    cancelled.elements.setCell(2, data::CountRow, "301");
    EXPECT_THROW(cancelled.run([](long long, long long) { return false; }), EngineCancelled);
    EXPECT_EQ(cancelled.pattern.p, before.p);
    EXPECT_EQ(cancelled.pattern.n0, before.n0);
}

} // namespace
} // namespace orvane::calc
