#include "measured/profile_shape.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

// A cluster of Gaussian peaks one u apart sampled every `step` u from `from` to `to`,
// optionally only where the signal is above a tenth of a percent (the zeros left out).
Spectrum sampled(double from, double to, double step, bool dropZeros, double widening = 0) {
    Spectrum points;
    for (double mz = from; mz < to; mz += step * (1 + widening * (mz - from))) {
        double y = 0;
        for (int k = 0; k < 4; ++k) {
            const double d = (mz - (from + 0.5 + k)) / 0.01;
            y += std::pow(0.4, k) * std::exp(-0.5 * d * d);
        }
        if (!dropZeros || y > 1e-3) {
            points.mz.push_back(mz);
            points.intensity.push_back(1000 * y);
        }
    }
    return points;
}

Spectrum peaks(const std::vector<double>& mz) {
    Spectrum points;
    for (const double m : mz) {
        points.mz.push_back(m);
        points.intensity.push_back(10);
    }
    return points;
}

TEST(ProfileShape, TellsASampledSignalFromAListOfPeaks) {
    std::vector<double> manyCompounds;
    for (int i = 0; i < 200; ++i) {
        manyCompounds.push_back(100 + 4.3 * i + 0.37 * std::sin(i * 1.7)); // irregular
    }
    std::vector<double> isotopeLadder;
    for (int i = 0; i < 40; ++i) {
        isotopeLadder.push_back(2900 + 0.5 * i); // a 2+ protein's clusters, evenly spaced
    }
    const struct {
        const char* name;
        Spectrum points;
        bool profile;
    } cases[] = {
        {"an even grid with its zeros", sampled(300, 304, 0.002, false), true},
        {"an even grid without its zeros", sampled(300, 304, 0.002, true), true},
        {"a grid widening with m/z", sampled(300, 304, 0.002, false, 0.05), true},
        {"a centroid cluster", peaks({300.5, 301.5, 302.5, 303.5}), false},
        {"a centroid list of many compounds", peaks(manyCompounds), false},
        {"clusters half a u apart", peaks(isotopeLadder), false},
        {"too few points", sampled(300.49, 300.51, 0.002, false), false},
        {"nothing", Spectrum{}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(looksLikeProfile(c.points), c.profile);
    }
}

} // namespace
} // namespace orvane::measured
