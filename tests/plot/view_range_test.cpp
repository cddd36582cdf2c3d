#include "plot/view_range.h"

#include <gtest/gtest.h>

namespace orvane::plot {
namespace {

TEST(ViewRange, TheWholePatternLeavesOutTheInvisibleTails) {
    const struct {
        const char* name;
        std::vector<TracePoint> points;
        double low, high;
    } cases[] = {
        {"none", {}, 0, 1},
        {"one peak: half a unit each side", {{100, 100}}, 99.5, 100.5},
        {"tails below 0.1 % left out", {{90, 0.01}, {100, 100}, {120, 50}, {200, 0.05}}, 99, 121},
        {"only tails: all of them", {{90, 0.01}, {110, 0.02}}, 89, 111},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ViewRange view = wholeView(c.points);
        EXPECT_DOUBLE_EQ(view.mzLow, c.low);
        EXPECT_DOUBLE_EQ(view.mzHigh, c.high);
        EXPECT_EQ(view.intensityLow, 0);
        EXPECT_EQ(view.intensityHigh, 110);
    }
}

TEST(ViewRange, ZoomPanAndBoxKeepWhatTheyShould) {
    const ViewRange view{100, 200, 0, 100};
    const ViewRange zoomed = zoomedAt(view, 150, 0.5);
    EXPECT_DOUBLE_EQ(zoomed.mzLow, 125);
    EXPECT_DOUBLE_EQ(zoomed.mzHigh, 175);
    const ViewRange atEdge = zoomedAt(view, 100, 0.1); // the anchor stays where it is
    EXPECT_DOUBLE_EQ(atEdge.mzLow, 100);
    EXPECT_DOUBLE_EQ(atEdge.mzHigh, 110);
    EXPECT_EQ(zoomed.intensityHigh, 100);
    EXPECT_EQ(panned(view, 10, -5), (ViewRange{110, 210, -5, 95}));
    EXPECT_EQ(boxed(view, {180, 20}, {120, 60}), (ViewRange{120, 180, 20, 60}));
    EXPECT_EQ(boxed(view, {150, 20}, {150, 60}), view); // no width: nothing changes
    EXPECT_EQ(boxed(view, {120, 20}, {150, 20}), view); // no height
    EXPECT_GT(zoomedAt(view, 150, 1e-30).mzHigh - zoomedAt(view, 150, 1e-30).mzLow, 0);
}

TEST(ViewRange, PixelsAndDataPointsMapBothWays) {
    const ViewRange view{100, 200, 0, 100};
    const PlotFrame frame{50, 20, 850, 420};
    EXPECT_EQ(columnOf(view, frame, 100), 50);
    EXPECT_EQ(columnOf(view, frame, 200), 850);
    EXPECT_EQ(rowOf(view, frame, 0), 420);
    EXPECT_EQ(rowOf(view, frame, 100), 20);
    const TracePoint point = pointAt(view, frame, 450, 220);
    EXPECT_DOUBLE_EQ(point.mz, 150);
    EXPECT_DOUBLE_EQ(point.intensity, 50);
}

TEST(ViewRange, TicksAreRoundAndInside) {
    const struct {
        double low, high;
        int wanted;
        std::vector<double> ticks;
    } cases[] = {
        {0, 100, 5, {0, 20, 40, 60, 80, 100}},
        {181.03, 181.12, 4, {181.05, 181.1}}, // 0.0225 apart asked: 0.05
        {5, 5, 4, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.low);
        const std::vector<double> ticks = niceTicks(c.low, c.high, c.wanted);
        ASSERT_EQ(ticks.size(), c.ticks.size());
        for (std::size_t k = 0; k < ticks.size(); ++k) {
            EXPECT_NEAR(ticks[k], c.ticks[k], 1e-9);
        }
    }
}

} // namespace
} // namespace orvane::plot
