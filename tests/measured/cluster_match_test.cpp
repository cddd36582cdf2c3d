#include "measured/cluster_match.h"

#include <cmath>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

const std::vector<TheoreticalCluster> theory = {{100.0, 100}, {101.0, 50}, {102.0, 0.05}};

TEST(ClusterMatch, ScoresTheCosineOfTheoryAndMeasurement) {
    const struct {
        const char* name;
        int charge;
        Spectrum measured;
        double score; // worked by hand
    } cases[] = {
        {"theory scaled by 2", 1, {{100.0, 101.0}, {200, 100}}, 1},
        {"theory shifted by one step: (0, 200)",
         1,
         {{101.0, 102.0}, {200, 100}},
         1 / std::sqrt(5.0)},
        {"profile points summed per window: (6, 3)",
         1,
         {{99.7, 100.0, 100.3, 101.2}, {1, 3, 2, 3}},
         1},
        {"nothing measured there", 1, {{150.0}, {10}}, 0},
        {"z = -2: windows of +-0.25, (4, 0)",
         -2,
         {{99.75, 100.25, 101.3}, {4, 9, 9}},
         2 / std::sqrt(5.0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(matchClusters(theory, c.charge, c.measured).score, c.score, 1e-15);
    }
}

TEST(ClusterMatch, ReportsEachClusterInPercentOfTheLargestMeasured) {
    const ClusterMatch match = matchClusters(theory, 1, {{100.0, 101.0, 102.0}, {80, 60, 50}});
    ASSERT_EQ(match.clusters.size(), 2u); // 0.05 % is below the 0.1 % that takes part
    EXPECT_EQ(match.clusters[0].measured, 80);
    EXPECT_EQ(match.clusters[0].measuredPercent, 100);
    EXPECT_EQ(match.clusters[0].difference, 0);
    EXPECT_EQ(match.clusters[1].measured, 60);
    EXPECT_EQ(match.clusters[1].measuredPercent, 75);
    EXPECT_EQ(match.clusters[1].difference, 25);
    // (100 * 80 + 50 * 60) / (sqrt(12500) * 100) = 11000 / 11180.34
    EXPECT_NEAR(match.score, 0.9838699100999074, 1e-15);

    const ClusterMatch empty = matchClusters(theory, 1, {});
    EXPECT_EQ(empty.score, 0);
    EXPECT_EQ(empty.clusters.at(1).measuredPercent, 0);
    EXPECT_EQ(empty.clusters.at(1).difference, -50);
}

TEST(ClusterMatch, ScalesTheTallestPointOfTheClusterRangeTo100) {
    const std::optional<MzRange> range = clusterRange(theory, 2);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->low, 99.75);
    EXPECT_EQ(range->high, 101.25);
    EXPECT_FALSE(clusterRange({{100.0, 0.05}}, 1));

    // 101.25 is outside the range; of the two 40s the lower m/z is the base peak
    const Spectrum measured{{99.0, 99.75, 100.5, 101.0, 101.25}, {500, 10, 40, 40, 90}};
    const std::optional<DisplayScale> scale = displayScale(measured, *range);
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->factor, 2.5);
    EXPECT_EQ(scale->basePeakMz, 100.5);
    EXPECT_EQ(scale->basePeakIntensity, 40);
    EXPECT_FALSE(displayScale({{99.0, 100.0}, {5, 0}}, *range));
}

} // namespace
} // namespace orvane::measured
