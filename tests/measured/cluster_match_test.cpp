#include "measured/cluster_match.h"

#include <cmath>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

const std::vector<TheoreticalCluster> theory = {{100.0, 100}, {101.0, 50}, {102.0, 0.05}};
const MatchTolerance fwhmAt60000{};

TEST(ClusterMatch, ScoresTheCosineOverMatchedAndUnexplainedPeaks) {
    const struct {
        const char* name;
        int charge;
        Spectrum measured;
        MatchTolerance tolerance;
        double score; // worked by hand
        double unexplained;
    } cases[] = {
        {"nothing measured there", 1, {{150.0}, {10}}, fwhmAt60000, 0, 0},
        {"theory shifted by one step: (0, 200)",
         1,
         {{101.0, 102.0}, {200, 100}},
         fwhmAt60000,
         1 / std::sqrt(5.0),
         0},
        // 0.4 u off is not summed into the cluster: (2, 1) and 1 unexplained,
        // 250 / sqrt(12500 * 6)
        {"a peak between the clusters",
         1,
         {{100.0, 100.4, 101.0}, {2, 1, 1}},
         fwhmAt60000,
         250 / std::sqrt(75000.0),
         0.25},
        {"10 ppm off with a tolerance of 5 ppm: all unexplained",
         1,
         {{100.001, 101.00101}, {2, 1}},
         {60'000, 5.0},
         0,
         1},
        {"10 ppm off with a tolerance of 20 ppm",
         1,
         {{100.001, 101.00101}, {2, 1}},
         {60'000, 20.0},
         1,
         0},
        {"theory scaled by 2", 1, {{100.0, 101.0}, {200, 100}}, fwhmAt60000, 1, 0},
        {"z = -2: 101.3 lies outside the range, 100.25 between the clusters: (4, 0) and 3",
         -2,
         {{100.0, 100.25, 101.3}, {4, 3, 9}},
         fwhmAt60000,
         400 / std::sqrt(12500.0 * 25),
         3.0 / 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ClusterMatch match = matchClusters(theory, c.charge, c.measured, c.tolerance);
        EXPECT_NEAR(match.score, c.score, 1e-15);
        EXPECT_NEAR(match.unexplained, c.unexplained, 1e-15);
    }
}

TEST(ClusterMatch, ADoublyChargedSpectrumScoresLowAgainstASinglyChargedTheory) {
    const Spectrum doublyCharged{{1000.0, 1000.5, 1001.0, 1001.5}, {100, 60, 20, 5}};
    const std::vector<TheoreticalCluster> rightCharge = {{1000.0, 100}, {1000.5, 60}, {1001.0, 20}};
    const std::vector<TheoreticalCluster> wrongCharge = {{1000.0, 100}, {1001.0, 60}, {1002.0, 20}};
    const ClusterMatch right = matchClusters(rightCharge, 2, doublyCharged, fwhmAt60000);
    const ClusterMatch wrong = matchClusters(wrongCharge, 1, doublyCharged, fwhmAt60000);
    EXPECT_NEAR(right.score, 1, 1e-15);
    // (100, 20, 0) against the theory and 60 and 5 unexplained:
    // 11200 / sqrt(14000 * 14025)
    EXPECT_NEAR(wrong.score, 11200 / std::sqrt(14000.0 * 14025), 1e-15);
    EXPECT_LT(wrong.score, 0.8);
    EXPECT_NEAR(wrong.unexplained, 65.0 / 185, 1e-15);
}

TEST(ClusterMatch, SaysWhenNoMeasuredPeakLiesInTheRange) {
    const ClusterMatch outside = matchClusters(theory, 1, {{150.0}, {10}}, fwhmAt60000);
    EXPECT_FALSE(outside.measuredInRange);
    EXPECT_EQ(outside.range.low, 99.5);
    EXPECT_EQ(outside.range.high, 101.5);
    EXPECT_FALSE(matchClusters(theory, 1, {{100.0}, {0}}, fwhmAt60000).measuredInRange);
    EXPECT_TRUE(matchClusters(theory, 1, {{100.4}, {1}}, fwhmAt60000).measuredInRange);
}

TEST(ClusterMatch, ReportsEachClusterWithItsMeasuredMzAndError) {
    const ClusterMatch match =
        matchClusters(theory, 1, {{100.001, 101.0, 102.0}, {80, 60, 50}}, fwhmAt60000);
    ASSERT_EQ(match.clusters.size(), 2u); // 0.05 % is below the 0.1 % that takes part
    EXPECT_EQ(match.clusters[0].measured, 80);
    EXPECT_EQ(match.clusters[0].measuredPercent, 100);
    EXPECT_EQ(match.clusters[0].difference, 0);
    ASSERT_TRUE(match.clusters[0].ppm);
    EXPECT_EQ(*match.clusters[0].measuredMz, 100.001);
    EXPECT_NEAR(*match.clusters[0].ppm, 10, 1e-9);
    EXPECT_EQ(match.clusters[1].measured, 60);
    EXPECT_EQ(match.clusters[1].measuredPercent, 75);
    EXPECT_EQ(match.clusters[1].difference, 25);
    EXPECT_EQ(*match.clusters[1].ppm, 0);
    // 102.0 lies beyond the range of the clusters that take part:
    // (100 * 80 + 50 * 60) / (sqrt(12500) * 100) = 11000 / 11180.34
    EXPECT_NEAR(match.score, 0.9838699100999074, 1e-15);

    const ClusterMatch empty = matchClusters(theory, 1, {}, fwhmAt60000);
    EXPECT_EQ(empty.score, 0);
    EXPECT_FALSE(empty.measuredInRange);
    EXPECT_FALSE(empty.clusters.at(1).measuredMz);
    EXPECT_EQ(empty.clusters.at(1).measuredPercent, 0);
    EXPECT_EQ(empty.clusters.at(1).difference, -50);
}

// At a resolving power of a million one FWHM is 1 ppm, tighter than a spectrum's
// calibration: a peak 1.4 ppm off still matches (a floor of a few ppm), a given ppm holds as
// given, and the rows are scaled to the range's tallest measured peak whether it matched or
// not. Each peak's error is taken against the fine line it matched, not the cluster's mean.
TEST(ClusterMatch, AtAHighResolvingPowerThePeaksStillMatchAndKeepTheirScale) {
    const MatchTolerance million{1'000'000, std::nullopt};
    const MatchTolerance onePpm{1'000'000, 1.0};
    // M at 811.0, M+1 as two fine lines (13C at 812.0, 15N 0.0063 u lighter) of 0.3 and 0.1
    const std::vector<TheoreticalCluster> clusters{{811.0, 100}, {811.9984, 40}};
    const std::vector<TheoreticalPeak> lines{{811.0, 1.0, 0}, {811.9937, 0.1, 1}, {812.0, 0.3, 1}};
    const double off = 811.0 * (1 - 1.4e-6); // the base peak, 1.4 ppm light
    // the fine peaks measured in another ratio than the theory's, so that their centre lies off
    // the cluster's mean
    const Spectrum measured{{off, 811.9937, 812.0}, {1000, 200, 176}};
    const struct {
        const char* name;
        MatchTolerance tolerance;
        bool baseMatched;
    } cases[] = {{"one FWHM with the floor", million, true}, {"1 ppm as given", onePpm, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(matchWindowAt(811.0, c.tolerance),
                         811.0 * (c.tolerance.ppm ? 1e-6 : 3e-6));
        const ClusterMatch match = matchClusters(clusters, lines, 1, measured, c.tolerance);
        ASSERT_EQ(match.clusters.size(), 2u);
        EXPECT_EQ(match.clusters[0].measured, c.baseMatched ? 1000 : 0);
        EXPECT_EQ(match.clusters[0].ppm.has_value(), c.baseMatched);
        if (c.baseMatched) {
            EXPECT_NEAR(*match.clusters[0].ppm, -1.4, 1e-6);
        }
        // 376 of the base 1000: 37.6 %, matched base or not
        EXPECT_NEAR(match.clusters[1].measuredPercent, 37.6, 1e-12);
        // both fine peaks exactly on their lines: no error, though their centre lies 2 ppm
        // off the cluster's mean
        ASSERT_TRUE(match.clusters[1].ppm);
        EXPECT_NEAR(*match.clusters[1].ppm, 0, 1e-9);
        EXPECT_GT(std::fabs(*match.clusters[1].measuredMz - 811.9984) / 811.9984 * 1e6, 1);
    }
}

TEST(ClusterMatch, MergesTheLinesTheResolvingPowerDoesNotSeparate) {
    // one FWHM at 100 is 0.00167 at R 60000
    const std::vector<TheoreticalPeak> merged =
        mergeUnresolved({{100.01, 5, 0}, {100.001, 30, 1}, {100.0, 10, 0}}, fwhmAt60000);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].intensity, 40);
    EXPECT_NEAR(merged[0].mz, 100.00075, 1e-12);
    EXPECT_EQ(merged[0].cluster, 1u); // of its tallest part
    EXPECT_EQ(merged[1].mz, 100.01);
    EXPECT_EQ(mergeUnresolved({{100.0, 10, 0}, {100.001, 30, 1}}, {1e6, {}}).size(), 2u);
}

TEST(ClusterMatch, TakesEachRunOfAProfileAsOnePeak) {
    const Spectrum profile{{99.999, 100.0, 100.001, 100.002, 101.0, 101.001, 101.002, 101.003},
                           {1, 3, 1, 0, 2, 1, 2, 1}};
    const Spectrum peaks = peaksOf(profile, true);
    ASSERT_EQ(peaks.size(), 3u);
    EXPECT_NEAR(peaks.mz[0], 100.0, 1e-12);
    EXPECT_EQ(peaks.intensity[0], 3);                           // its points above half its apex
    EXPECT_NEAR(peaks.mz[1], (2 * 101.0 + 101.001) / 3, 1e-12); // a rise after a fall splits
    EXPECT_EQ(peaks.intensity[1], 3);
    EXPECT_EQ(peaks.intensity[2], 3);
    EXPECT_EQ(peaksOf(profile, false).size(), profile.size());

    // a flat floor between two peaks ends the first where the second rises, and neither
    // the floor nor the flank moves a peak's m/z
    const Spectrum floored{{199.998, 199.999, 200.0, 200.001, 200.002, 200.5, 201.0, 201.998,
                            201.999, 202.0, 202.001, 202.002},
                           {1, 5, 10, 5, 1, 1, 1, 1, 2, 4, 2, 1}};
    const Spectrum split = peaksOf(floored, true);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_NEAR(split.mz[0], 200.0, 1e-9);
    EXPECT_NEAR(split.mz[1], 202.0, 1e-9);
    EXPECT_EQ(split.intensity[0], 20);
    EXPECT_EQ(split.intensity[1], 8);
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

    // the whole spectrum's base peak lies outside the range
    const std::optional<DisplayScale> whole = basePeak(measured);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->basePeakMz, 99.0);
    EXPECT_EQ(whole->basePeakIntensity, 500);
    EXPECT_FALSE(basePeak({{99.0}, {0}}));
}

} // namespace
} // namespace orvane::measured
