#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tracer/fraction_bars.h"

namespace orvane::tracer {
namespace {

CorrectedRow rowOf(const char* sample, const char* metabolite, double fraction) {
    CorrectedRow row;
    row.sample = sample;
    row.metabolite = metabolite;
    row.fraction = fraction;
    return row;
}

TEST(FractionBars, OneBarPerSampleOfTheMetabolite) {
    CorrectionResult result;
    result.samples = {"S1", "S2", "S3"};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    result.rows = {rowOf("S1", "Fum", 0.75), rowOf("S1", "Fum", 0.25), rowOf("S1", "Mal", 1),
                   rowOf("S2", "Fum", nan), rowOf("S2", "Fum", nan)};
    const std::vector<FractionBar> bars = fractionBarsOf(result, "Fum", "");
    ASSERT_EQ(bars.size(), 2u); // S3 lacks fumarate
    EXPECT_EQ(bars[0].sample, "S1");
    EXPECT_EQ(bars[0].fractions, (std::vector<double>{0.75, 0.25}));
    EXPECT_TRUE(bars[1].fractions.empty()); // nothing to stack where the sum was 0
}

TEST(FractionBars, SegmentsStackFromTheBottom) {
    const std::vector<FractionBar> bars{{"S1", {0.75, 0.25}}, {"S2", {0, 1}}};
    // 200 x 120 with a margin of 10: slots of 90 px, bars 45 px wide, 100 px tall
    const std::vector<BarSegment> segments = stackedSegments(bars, 200, 120, 10);
    ASSERT_EQ(segments.size(), 3u); // the 0 fraction takes no segment
    const struct {
        double left, top, width, height;
        int isotopologue;
    } expected[] = {{32.5, 35, 45, 75, 0}, {32.5, 10, 45, 25, 1}, {122.5, 10, 45, 100, 1}};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(segments[i].left, expected[i].left);
        EXPECT_DOUBLE_EQ(segments[i].top, expected[i].top);
        EXPECT_DOUBLE_EQ(segments[i].width, expected[i].width);
        EXPECT_DOUBLE_EQ(segments[i].height, expected[i].height);
        EXPECT_EQ(segments[i].isotopologue, expected[i].isotopologue);
    }
    EXPECT_TRUE(stackedSegments(bars, 20, 20, 10).empty()); // no room inside the margins
    EXPECT_TRUE(stackedSegments({}, 200, 120, 10).empty());
}

} // namespace
} // namespace orvane::tracer
