#include "measured/profile_width.h"

#include <cmath>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

// A Gaussian peak of the resolving power at `mz`, sampled every `step` u over +-5 FWHM.
Spectrum sampledPeak(double mz, double resolvingPower, double step) {
    const double sigma = mz / resolvingPower / 2.3548200450309493;
    Spectrum points;
    for (double x = mz - 5 * mz / resolvingPower; x <= mz + 5 * mz / resolvingPower; x += step) {
        points.mz.push_back(x);
        points.intensity.push_back(1000 * std::exp(-0.5 * (x - mz) * (x - mz) / (sigma * sigma)));
    }
    return points;
}

TEST(ProfileWidth, APeaksWidthShowsTheResolvingPower) {
    const struct {
        double mz, resolvingPower, step;
    } cases[] = {
        {195.0877, 20'000, 0.0005}, // ten points a FWHM
        {609.28, 7'500, 0.004},     // twenty
        {1500.0, 60'000, 0.005},    // five
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resolvingPower);
        const std::optional<double> shown =
            profileResolvingPower(sampledPeak(c.mz, c.resolvingPower, c.step), c.mz, c.mz * 2e-5);
        ASSERT_TRUE(shown);
        EXPECT_NEAR(*shown / c.resolvingPower, 1, 0.03);
    }
}

TEST(ProfileWidth, NoWidthWhereThePeakIsNoProfile) {
    Spectrum sticks;
    sticks.mz = {195.0877, 196.091, 197.093};
    sticks.intensity = {100, 10, 1};
    EXPECT_FALSE(profileResolvingPower(sticks, 195.0877, 0.01));
    // cut off on one side: it never falls to half there
    Spectrum cut = sampledPeak(300, 30'000, 0.001);
    const std::size_t apex = cut.size() / 2;
    cut.mz.resize(apex + 1);
    cut.intensity.resize(apex + 1);
    EXPECT_FALSE(profileResolvingPower(cut, 300, 0.01));
    EXPECT_FALSE(profileResolvingPower(Spectrum{}, 300, 0.01));
    EXPECT_FALSE(profileResolvingPower(sampledPeak(300, 30'000, 0.001), 310, 0.01));
}

} // namespace
} // namespace orvane::measured
