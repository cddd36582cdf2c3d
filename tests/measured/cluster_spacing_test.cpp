#include "measured/cluster_spacing.h"

#include <vector>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

// An ion's first clusters at 1.00336 / z apart, each `fall` of the one before.
Spectrum clustersOf(double mz, int charge, double fall, int count = 4) {
    Spectrum peaks;
    double intensity = 1000;
    for (int k = 0; k < count; ++k) {
        peaks.mz.push_back(mz + k * 1.003355 / charge);
        peaks.intensity.push_back(intensity);
        intensity *= fall;
    }
    return peaks;
}

TEST(ClusterSpacing, TheIsotopeSpacingShowsTheCharge) {
    const struct {
        const char* name;
        Spectrum peaks;
        std::optional<int> charge;
    } cases[] = {
        {"singly charged", clustersOf(500, 1, 0.3), 1},
        {"doubly charged", clustersOf(500, 2, 0.5), 2},
        {"triply charged", clustersOf(500, 3, 0.8), 3},
        {"a lone peak", clustersOf(500, 1, 0.3, 1), std::nullopt},
        {"a partner under 5 % of M", clustersOf(500, 2, 0.01), std::nullopt},
        {"nothing", Spectrum{}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(measuredCharge(c.peaks, 500.001, 0.01), c.charge);
    }
}

TEST(ClusterSpacing, SaysSoWhereTheSpacingShowsAnotherCharge) {
    const Spectrum doubly = clustersOf(500, 2, 0.5);
    EXPECT_EQ(chargeSpacingNotice(doubly, 500, 0.01, 1),
              "the measured peaks are 0.5 apart: charge 2?");
    EXPECT_EQ(chargeSpacingNotice(doubly, 500, 0.01, -2), "");
    EXPECT_EQ(chargeSpacingNotice(clustersOf(500, 3, 0.5), 500, 0.01, 1),
              "the measured peaks are 0.33 apart: charge 3?");
    EXPECT_EQ(chargeSpacingNotice(clustersOf(500, 1, 0.5), 500, 0.01, 1), "");
    EXPECT_EQ(chargeSpacingNotice(Spectrum{}, 500, 0.01, 2), "");
}

} // namespace
} // namespace orvane::measured
