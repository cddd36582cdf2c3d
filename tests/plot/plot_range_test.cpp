#include "plot/plot_range.h"

#include <gtest/gtest.h>

#include <vector>

#include "plot/test_controls.h"
#include "plot/test_patterns.h"
#include "text/error.h"

namespace orvane::plot {
namespace {

using testing::dichlorine;
using testing::dichlorineWeight;
using testing::makePattern;

struct Displays {
    PlotState state;
    testing::Controls controls;
    std::string fw1 = "untouched";

    void compute(const calc::PatternState& pattern, double formulaWeight, char separator = '.') {
        testing::computeRange(state, controls, fw1, pattern, formulaWeight, separator);
    }
};

// Significant points at N0 - 1 .. N0 + 1 only: nothing at or below 0.001 counts, nor
// anything beyond the counting window N0 - W .. N0 + W. Its sticks stand at FW - C + j,
// inside the frame over N0 +- s for a formula weight near 50.
calc::PatternState threePoints() {
    return makePattern(50, 2,
                       {{48, 0.0009999}, {49, 0.002}, {50, 100}, {51, 5}, {52, 0.0005}, {53, 7}});
}

TEST(PlotRange, AutomaticRangeIsTheHalfSpanAroundN0OverTheCharge) {
    struct Case {
        int charge;
        double xmin, xmax, xlo, xhi;
        const char* edit1;
        const char* edit2;
    };
    const Case cases[] = {
        {1, 47, 53, 46.67, 53.09, "47", "53"},
        {2, 23.5, 26.5, 23.335, 26.545, "23.5", "26.5"},
        {3, 47.0 / 3, 53.0 / 3, 47.0 / 3 - 0.11, 53.0 / 3 + 0.03, "15.6666666666667",
         "17.6666666666667"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charge);
        Displays displays;
        displays.controls.charge.setValue(c.charge);
        displays.compute(threePoints(), 50);
        EXPECT_EQ(displays.state.s, 3);
        EXPECT_DOUBLE_EQ(displays.state.xmin, c.xmin);
        EXPECT_DOUBLE_EQ(displays.state.xmax, c.xmax);
        EXPECT_NEAR(displays.state.xlo, c.xlo, 1e-12);
        EXPECT_NEAR(displays.state.xhi, c.xhi, 1e-12);
        EXPECT_EQ(displays.state.ymin, 0);
        EXPECT_EQ(displays.state.ymax, 120);
        EXPECT_EQ(displays.state.ylo, -6);
        EXPECT_DOUBLE_EQ(displays.state.yhi, 121.2);
        EXPECT_EQ(displays.controls.edit1, c.edit1);
        EXPECT_EQ(displays.controls.edit2, c.edit2);
        EXPECT_EQ(displays.controls.edit3, "0.00");
        EXPECT_EQ(displays.controls.edit4, "120.00");
    }
}

TEST(PlotRange, TheDoubleNearestAThousandthCounts) {
    // The comparison is made in extended precision, where the stored 0.001 lies above 0.001.
    Displays displays;
    displays.compute(makePattern(50, 2, {{48, 0.001}, {50, 100}}), 100);
    EXPECT_EQ(displays.state.s, 2);
}

TEST(PlotRange, AverageMassBoxShowsTheFirstEightCharacters) {
    struct Case {
        double formulaWeight;
        int charge;
        const char* fw1;
    };
    const Case cases[] = {
        {100, 3, "33.33333"}, {78.11184, 1, "78.11184"},
        {70.9, 2, "35.45"},   {1234.5678, 7, "176.3668"},
        {0, 1, "0"},          {0.00001, 1, "1E-5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fw1);
        Displays displays;
        displays.controls.charge.setValue(c.charge);
        displays.compute(dichlorine(), c.formulaWeight);
        EXPECT_EQ(displays.fw1, c.fw1);
    }
}

TEST(PlotRange, ManualRangeKeepsTheTypedBounds) {
    Displays displays;
    displays.controls.manualRange = true;
    displays.state.xmin = 70;
    displays.state.xmax = 90;
    displays.compute(dichlorine(), dichlorineWeight);
    EXPECT_EQ(displays.state.s, 3);
    EXPECT_EQ(displays.state.xmin, 70);
    EXPECT_EQ(displays.state.xmax, 90);
    EXPECT_NEAR(displays.state.xlo, 68.9, 1e-12);
    EXPECT_NEAR(displays.state.xhi, 90.3, 1e-12);
    EXPECT_EQ(displays.controls.edit1, "70");
    EXPECT_EQ(displays.controls.edit2, "90");

    displays.controls.manualRange = false;
    displays.compute(dichlorine(), dichlorineWeight);
    EXPECT_EQ(displays.state.xmin, 69);
    EXPECT_EQ(displays.state.xmax, 75);
    EXPECT_EQ(displays.controls.edit1, "69");
}

// The span that is drawn and exported stays N0 - s .. N0 + s while every significant
// point lies in it; otherwise it is centred on the rounded centroid, wide enough for all.
TEST(PlotRange, TheSpanReachesEverySignificantPeak) {
    struct Case {
        const char* name;
        calc::PatternState pattern;
        int s;
        long long first, last;
    };
    const Case cases[] = {
        {"inside N0 +- s", threePoints(), 3, 47, 53},
        {"Cl2: M+4 beyond N0 + s", dichlorine(), 3, 69, 75},
        // drifted: every point lies above N0 + s, as for a very large molecule
        {"drifted above N0", makePattern(100, 40, {{131, 40}, {132, 100}, {133, 60}}), 3, 129, 135},
        {"one point below N0 - s", makePattern(100, 10, {{95, 50}, {100, 100}}), 2, 95, 101},
        {"no significant point", makePattern(10, 2, {{10, 0.0005}}), 0, 10, 10},
        {"the empty formula", makePattern(0, 0, {{0, 100}}), 1, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Displays displays;
        // FW = C puts every stick on its index, inside the span
        displays.compute(c.pattern, c.pattern.centroid);
        EXPECT_EQ(displays.state.s, c.s);
        EXPECT_EQ(displays.state.spanFirst, c.first);
        EXPECT_EQ(displays.state.spanLast, c.last);
        EXPECT_EQ(displays.state.xmin, c.first);
        EXPECT_EQ(displays.state.xmax, c.last);
    }
}

// Sticks stand at FW - C + j. For a large molecule FW - C reaches far beyond s (about 0.008 u
// for every hydrogen), and the frame over the span would miss the envelope: the frame then
// moves by whole steps onto the sticks, one step wider where a stick would fall just outside,
// and its ticks move with it. The span that is exported stays.
TEST(PlotRange, TheFrameFollowsTheSticksOfLargeMolecules) {
    struct Case {
        const char* name;
        calc::PatternState pattern;
        std::vector<int> significant;
        double formulaWeight;
        int charge;
        long long first, last; // span
        long long shift;
        double xmin, xmax;
    };
    // centroid 132.1, span 129 .. 135
    const calc::PatternState drifted = makePattern(100, 40, {{131, 40}, {132, 100}, {133, 60}});
    // centroid 128, span 125 .. 131: the outer sticks stand on the span's ends
    const calc::PatternState gapped = makePattern(100, 40, {{125, 100}, {131, 100}});
    const Case cases[] = {
        {"sticks inside: kept", drifted, {131, 132, 133}, 132.1, 1, 129, 135, 0, 129, 135},
        {"near the edge: kept", drifted, {131, 132, 133}, 133.6, 1, 129, 135, 0, 129, 135},
        {"2000 u above", drifted, {131, 132, 133}, 2132.1, 1, 129, 135, 2000, 2129, 2135},
        {"2000 u above at charge 25", drifted, {131, 132, 133}, 2132.1, 25, 129, 135, 2000,
         2129.0 / 25, 2135.0 / 25},
        {"below", drifted, {131, 132, 133}, 32.1, 1, 129, 135, -100, 29, 35},
        {"0.4 above a whole step widens the right side", gapped, {125, 131}, 1128.4, 1, 125, 131,
         1000, 1125, 1132},
        {"0.4 below widens the left side", gapped, {125, 131}, 1127.6, 1, 125, 131, 1000, 1124,
         1131},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Displays displays;
        displays.controls.charge.setValue(c.charge);
        displays.compute(c.pattern, c.formulaWeight);
        EXPECT_EQ(displays.state.spanFirst, c.first);
        EXPECT_EQ(displays.state.spanLast, c.last);
        EXPECT_EQ(displays.state.frameShift, c.shift);
        EXPECT_DOUBLE_EQ(displays.state.xmin, c.xmin);
        EXPECT_DOUBLE_EQ(displays.state.xmax, c.xmax);
        for (const int j : c.significant) {
            const double m = (c.formulaWeight - c.pattern.centroid + j) / c.charge;
            EXPECT_GE(m, displays.state.xmin) << j;
            EXPECT_LE(m, displays.state.xmax) << j;
        }
    }
}

TEST(PlotRange, ReversedBoundsPutTheFrameOnTheSamePixels) {
    for (const auto& [left, right] : {std::pair{70.0, 90.0}, std::pair{90.0, 70.0}}) {
        SCOPED_TRACE(left);
        Displays displays;
        displays.controls.manualRange = true;
        displays.state.xmin = left;
        displays.state.xmax = right;
        displays.state.imageWidth = 782;
        displays.compute(dichlorine(), dichlorineWeight);
        EXPECT_EQ(px(displays.state, left), 40);
        EXPECT_EQ(px(displays.state, right), 771);
    }
}

TEST(PlotRange, EqualBoundsCollapseTheExtents) {
    Displays displays;
    displays.controls.manualRange = true;
    displays.state.xmin = 80;
    displays.state.xmax = 80;
    displays.compute(dichlorine(), dichlorineWeight);
    EXPECT_EQ(displays.state.xlo, 80);
    EXPECT_EQ(displays.state.xhi, 80);
    EXPECT_EQ(displays.controls.edit1, "80");
    EXPECT_EQ(displays.controls.edit2, "80");
}

TEST(PlotRange, ChargeZeroStopsBeforeAnythingChanges) {
    struct Case {
        double formulaWeight;
        const char* message;
    };
    const Case cases[] = {{70.9, "0 による浮動小数点数除算"}, {0, "不正な浮動小数点数演算命令"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Displays displays;
        displays.compute(dichlorine(), dichlorineWeight);
        const PlotState before = displays.state;
        const testing::Controls controlsBefore = displays.controls;
        const std::string fw1Before = displays.fw1;

        displays.controls.charge.setText("0");
        try {
            displays.compute(threePoints(), c.formulaWeight);
            FAIL() << "no error";
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(displays.state.s, before.s);
        EXPECT_EQ(displays.state.xmin, before.xmin);
        EXPECT_EQ(displays.state.xmax, before.xmax);
        EXPECT_EQ(displays.state.xlo, before.xlo);
        EXPECT_EQ(displays.state.xhi, before.xhi);
        EXPECT_EQ(displays.controls.edit1, controlsBefore.edit1);
        EXPECT_EQ(displays.controls.edit2, controlsBefore.edit2);
        EXPECT_EQ(displays.fw1, fw1Before);
    }
}

TEST(PlotRange, EmptyFormulaReachesBelowIndexZero) {
    // N0 = 0, W = 0, P[0] = 100: s = 1 and the range starts at index -1.
    Displays displays;
    displays.compute(makePattern(0, 0, {{0, 100}}), 0);
    EXPECT_EQ(displays.state.s, 1);
    EXPECT_EQ(displays.state.xmin, -1);
    EXPECT_EQ(displays.state.xmax, 1);
    EXPECT_EQ(displays.controls.edit1, "-1");
    EXPECT_EQ(displays.fw1, "0");
}

TEST(PlotRange, WindowBeyondTheArrayCountsNothingThere) {
    calc::PatternState pattern;
    pattern.n0 = 5;
    pattern.w = 20;
    Displays displays;
    displays.compute(pattern, 0);
    EXPECT_EQ(displays.state.s, 0);
    EXPECT_EQ(displays.state.xmin, 5);
    EXPECT_EQ(displays.state.xmax, 5);
}

TEST(PlotRange, BoxesUseTheLocaleSeparator) {
    Displays displays;
    displays.controls.charge.setValue(2);
    displays.compute(threePoints(), 50.5, ',');
    EXPECT_EQ(displays.controls.edit1, "23,5");
    EXPECT_EQ(displays.controls.edit3, "0,00");
    EXPECT_EQ(displays.controls.edit4, "120,00");
    EXPECT_EQ(displays.fw1, "25,25");
}

} // namespace
} // namespace orvane::plot
