#include "profile/profile.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/cancelled.h"
#include "profile_test_support.h"
#include "text/error.h"

namespace orvane::profile {
namespace {

using support::formula;

std::string errorOf(const ProfileInput& input, const ProfileSettings& settings) {
    try {
        computeProfile(input, settings);
    } catch (const text::Error& error) {
        return error.what();
    }
    return {};
}

ProfileSettings at(double resolvingPower, std::size_t maxFinePeaks = defaultMaxFinePeaks) {
    ProfileSettings settings;
    settings.resolvingPower = resolvingPower;
    settings.maxFinePeaks = maxFinePeaks;
    return settings;
}

// The largest (normalised to 100) difference of the profile from the direct sum over
// `exact` at its points, and of the direct sum from 0 at every step in its gaps.
std::pair<double, double> worstDifference(const Profile& profile,
                                          const std::vector<FinePeak>& exact, double r) {
    double tallest = 0;
    for (const ProfilePoint& point : profile.points) {
        tallest = std::max(tallest, support::directSum(exact, point.mz, r));
    }
    double worst = 0;
    double worstGap = 0;
    for (std::size_t i = 0; i < profile.points.size(); ++i) {
        const ProfilePoint& point = profile.points[i];
        worst = std::max(worst, std::abs(point.intensity -
                                         support::directSum(exact, point.mz, r) / tallest * 100));
        for (double x = i == 0 ? point.mz : profile.points[i - 1].mz + 1.5 * profile.step;
             x < point.mz; x += profile.step) {
            worstGap = std::max(worstGap, support::directSum(exact, x, r) / tallest * 100);
        }
    }
    return {worst, worstGap};
}

TEST(Profile, RefusesInvalidSettings) {
    const ProfileInput chlorine{formula({{"Cl", 2}}), 1, {}};
    ProfileSettings inverted = at(1e4);
    inverted.range = MzRange{75, 71};
    ProfileInput badCluster{chlorine.elements, 1, {{70, 0.6, 0}, {72, 0.4, -1e-6}}};
    // 50,000 clusters of sigma 1e-4 (R 10^12 adds nothing), each 12 sigma / (sigma *
    // 2.3548 / 20) = 101.9 steps, 102 points
    ProfileInput manyClusters = chlorine;
    for (int i = 0; i < 50'000; ++i) {
        manyClusters.clusters.push_back({1000.0 + i, 1, 1e-8});
    }
    const struct {
        const ProfileInput& input;
        ProfileSettings settings;
        std::string message;
    } cases[] = {
        {chlorine, at(0), "The resolving power must be a number of at least 10, not 0."},
        {chlorine, at(-1), "The resolving power must be a number of at least 10, not -1."},
        {chlorine, at(0.5), "The resolving power must be a number of at least 10, not 0.5."},
        {chlorine, at(9.999), "The resolving power must be a number of at least 10, not 9.999."},
        {chlorine, at(INFINITY), "The resolving power must be a number of at least 10, not INF."},
        {chlorine, inverted,
         "The m/z range must run from a lower to a higher number, not from 75 to 71."},
        {chlorine, at(1e4, 0),
         "The fine structure has more than 0 peaks, and there are no accurate clusters to draw "
         "the profile from instead."},
        {badCluster, at(1e4, 0),
         "Cluster 2 (m/z 72, probability 0.4, variance -1E-6) is not a valid cluster."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(errorOf(c.input, c.settings), c.message);
    }
    const std::string message = errorOf(manyClusters, at(1e12, 0));
    EXPECT_NEAR(std::stod(message.substr(message.find("need ") + 5)), 50'000 * 102, 50'000);
}

TEST(Profile, CancelsWhenStopIsRequested) {
    std::stop_source source;
    source.request_stop();
    const ProfileInput chlorine{formula({{"Cl", 2}}), 1, {{70, 1, 0}}};
    EXPECT_THROW(computeProfile(chlorine, at(1e4), source.get_token()), Cancelled);
    EXPECT_THROW(profileOfClusters(chlorine.clusters, 1, at(1e4), source.get_token()), Cancelled);
}

// Against Gaussians summed one exp at a time over every isotopologue (brute force; for
// insulin all but 1e-8 of the probability): within 0.2 % of the tallest point at the
// points, below it in the gaps; 20 points per FWHM, the range 4 FWHM beyond the sticks.
TEST(Profile, AgreesWithTheDirectSumOverTheWholeFineStructure) {
    const auto chlorine = formula({{"Cl", 2}});
    const auto methane = formula({{"C", 1}, {"H", 4}});
    const auto insulin = formula(support::insulin);
    const struct {
        std::vector<ElementAtoms> elements;
        int charge;
        std::vector<FinePeak> exact;
    } molecules[] = {
        {chlorine, 1, support::asFinePeaks(support::bruteForce(chlorine), 1)},
        {methane, 2, support::asFinePeaks(support::bruteForce(methane), 2)},
        {insulin, 1, computeFineStructure(insulin, 1, 1 - 1e-8, 10'000'000).peaks},
    };
    for (const auto& molecule : molecules) {
        for (double r : {1e3, 6e4, 1e6, 1e7}) {
            SCOPED_TRACE(molecule.elements[0].symbol + " at R " + std::to_string(r));
            const Profile profile = computeProfile({molecule.elements, molecule.charge, {}}, at(r));
            ASSERT_TRUE(profile.fromFineStructure);
            const double lowest = profile.sticks.front().mz;
            const double highest = profile.sticks.back().mz;
            EXPECT_LE(profile.step, lowest / r / 20 * (1 + 1e-12));
            EXPECT_NEAR(profile.points.front().mz, lowest - 4 * lowest / r, 1e-9);
            EXPECT_NEAR(profile.points.back().mz, highest + 4 * highest / r, 1e-9);
            const auto [worst, worstGap] = worstDifference(profile, molecule.exact, r);
            EXPECT_LT(worst, 0.2);
            EXPECT_LT(worstGap, 0.2);
            EXPECT_EQ(std::max_element(profile.points.begin(), profile.points.end(),
                                       [](auto& a, auto& b) { return a.intensity < b.intensity; })
                          ->intensity,
                      100.0);
        }
    }
}

// A range of the caller is sampled from end to end, and only what lies in it counts
// towards the tallest point; the sticks stay the whole fine structure.
TEST(Profile, SamplesTheRangeTheCallerGives) {
    ProfileSettings settings = at(1e4);
    settings.range = MzRange{71, 75};
    const ProfileInput chlorine{formula({{"Cl", 2}}), 1, {}};
    const Profile profile = computeProfile(chlorine, settings);
    EXPECT_EQ(profile.points.front().mz, 71.0);
    EXPECT_NEAR(profile.points.back().mz, 75.0, 1e-12);
    const auto exact = support::asFinePeaks(support::bruteForce(chlorine.elements), 1);
    EXPECT_LT(worstDifference(profile, exact, 1e4).first, 0.2);
    ASSERT_EQ(profile.sticks.size(), 3u);
    EXPECT_EQ(profile.sticks[0].intensity, 100.0);
    EXPECT_NEAR(profile.sticks[1].intensity, 2 * 24.22 / 75.78 * 100, 1e-9);
}

// The brute-force fine structure's clusters (by nucleon count: probability, mean m/z,
// mass variance) against that fine structure, at z = 2 so that the variance is divided
// by z^2: where the instrument's width dominates the clusters' own (up to R 10^4 for
// this 350 u ion), the two agree to 0.2 % of the tallest point (0.03 % at 10^4).
TEST(Profile, ClustersAgreeWithTheFineStructureAtLowResolvingPower) {
    const int charge = 2;
    const auto elements = formula({{"C", 15}, {"H", 22}, {"N", 3}, {"O", 5}, {"S", 1}});
    const auto exact = support::bruteForce(elements);
    std::map<int, AccurateCluster> byShift;
    for (const support::ExactPeak& peak : exact) {
        AccurateCluster& cluster = byShift[peak.nucleonShift];
        cluster.probability += peak.probability;
        cluster.mz += peak.probability * peak.mass;
        cluster.variance += peak.probability * peak.mass * peak.mass;
    }
    ProfileInput input{elements, charge, {}};
    for (auto& [shift, cluster] : byShift) {
        const double mean = cluster.mz / cluster.probability;
        input.clusters.push_back({accurate::mzOf(mean, charge), cluster.probability,
                                  cluster.variance / cluster.probability - mean * mean});
    }
    // what the reference leaves out adds up to less than 1e-7
    const auto fine = support::asFinePeaks(exact, charge, 1e-12);
    for (double r : {1e3, 3e3, 1e4}) {
        SCOPED_TRACE(r);
        const Profile profile = computeProfile(input, at(r, 0));
        EXPECT_FALSE(profile.fromFineStructure);
        EXPECT_EQ(profile.finePeakCount, 0u);
        EXPECT_EQ(profile.sticks.size(), input.clusters.size());
        EXPECT_NEAR(profile.coverageReached, 1.0, 1e-12);
        EXPECT_LT(worstDifference(profile, fine, r).first, 0.2);
    }
}

// Where the peak width reaches the clusters' spacing nothing of the fine structure can show:
// the clusters give the profile at once, without the enumeration, whatever the peak limit.
TEST(Profile, ClustersThatMergeNeedNoFineStructure) {
    const int charge = 2;
    const auto elements = formula({{"C", 15}, {"H", 22}, {"N", 3}, {"O", 5}, {"S", 1}});
    ProfileInput input{
        elements, charge, {{165.05, 0.8, 1e-6}, {165.55, 0.15, 1e-6}, {166.05, 0.05, 1e-6}}};
    const struct {
        double resolvingPower;
        bool fromFineStructure;
    } cases[] = {{100, false}, {330, false}, {340, true}, {60000, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resolvingPower);
        ProfileSettings settings = at(c.resolvingPower, defaultMaxFinePeaks);
        EXPECT_EQ(computeProfile(input, settings).fromFineStructure, c.fromFineStructure);
    }
}

} // namespace
} // namespace orvane::profile
