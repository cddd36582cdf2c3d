#include "profile/fine_composition.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/fine_structure.h"
#include "profile/profile.h"
#include "profile/separated_fine_peaks.h"
#include "profile_test_support.h"

namespace orvane::profile {
namespace {

using support::formula;

// [M+H]+ of caffeine, C8H10N4O2 + H
const std::vector<std::pair<std::string, int>> protonatedCaffeine{
    {"C", 8}, {"H", 11}, {"N", 4}, {"O", 2}};

TEST(FineComposition, TextListsTheIsotopesBesideTheMostAbundant) {
    // the data files may hold an element's slots in any order; 2H comes before 1H here
    std::vector<ElementAtoms> elements = formula({{"C", 2}, {"H", 1}, {"Cl", 1}});
    std::swap(elements[1].isotopes[0], elements[1].isotopes[1]);
    elements[0].isotopes[1].massNumber = 13;
    const std::vector<IsotopeSlot> slots = isotopeSlotsOf(elements);
    ASSERT_EQ(slots.size(), 6u);
    const struct {
        std::vector<int> counts; // 12C 13C 2H 1H 35Cl 37Cl
        std::string text;
    } cases[] = {
        {{2, 0, 0, 1, 1, 0}, ""},
        {{1, 1, 0, 1, 1, 0}, "13C1"},
        {{0, 2, 1, 0, 0, 1}, "13C2 2H1 37Cl1"},
        {{2, 0, 1, 0, 1, 0}, "2H1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const FineCompositions compositions{slots, c.counts};
        ASSERT_EQ(compositions.peakCount(), 1u);
        EXPECT_EQ(compositions.text(0), c.text);
    }
}

TEST(FineComposition, ChlorineCountsAgainstItsMostAbundantIsotope) {
    const std::vector<IsotopeSlot> slots = isotopeSlotsOf(formula({{"Cl", 2}}));
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_TRUE(slots[0].reference);
    EXPECT_EQ(slots[0].massNumber, 35);
    EXPECT_FALSE(slots[1].reference);
    EXPECT_EQ(slots[1].massNumber, 37);
}

TEST(FineComposition, NotKeptWhenNotAskedForOrOverTheLimit) {
    const auto elements = formula(protonatedCaffeine);
    const FineStructure plain = computeFineStructure(elements, 1, 0.9999);
    const FineStructure tight =
        computeFineStructure(elements, 1, 0.9999, defaultMaxFinePeaks, {}, plain.peaks.size() - 1);
    const FineStructure kept =
        computeFineStructure(elements, 1, 0.9999, defaultMaxFinePeaks, {}, plain.peaks.size() * 4);
    EXPECT_EQ(plain.compositions.peakCount(), 0u);
    EXPECT_EQ(tight.compositions.peakCount(), 0u);
    ASSERT_EQ(kept.compositions.peakCount(), plain.peaks.size());
    // keeping them changes neither the peaks nor their order
    ASSERT_EQ(kept.peaks.size(), plain.peaks.size());
    for (std::size_t k = 0; k < plain.peaks.size(); ++k) {
        EXPECT_EQ(kept.peaks[k].mz, plain.peaks[k].mz);
        EXPECT_EQ(kept.peaks[k].probability, plain.peaks[k].probability);
    }
}

TEST(FineComposition, CaffeinePeaksAgreeWithAHandCount) {
    const auto elements = formula(protonatedCaffeine);
    const FineStructure fine =
        computeFineStructure(elements, 1, 0.9999, defaultMaxFinePeaks, {}, 10'000);
    ASSERT_EQ(fine.compositions.peakCount(), fine.peaks.size());
    std::map<std::string, FinePeak> byText;
    for (std::size_t k = 0; k < fine.peaks.size(); ++k) {
        const bool fresh = byText.emplace(fine.compositions.text(k), fine.peaks[k]).second;
        EXPECT_TRUE(fresh) << "two peaks of " << fine.compositions.text(k);
    }
    ASSERT_TRUE(byText.count(""));
    const FinePeak mono = byText.at("");
    // the binomial ratio n p_heavy / p_light for one heavy atom, the product for two
    const double c13 = 8 * 1.07 / 98.93;
    const double n15 = 4 * 0.368 / 99.632;
    const double h2 = 11 * 0.0115 / 99.9885;
    const struct {
        std::string text;
        double ratio;
        double massShift; // u over the monoisotopic peak
    } cases[] = {
        {"13C1", c13, 13.00335484 - 12},
        {"15N1", n15, 15.0001089 - 14.003074},
        {"2H1", h2, 2.014101778 - 1.007825032},
        {"13C1 15N1", c13 * n15, 13.00335484 - 12 + 15.0001089 - 14.003074},
        {"13C2", 28 * (1.07 / 98.93) * (1.07 / 98.93), 2 * (13.00335484 - 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(byText.count(c.text));
        const FinePeak& peak = byText.at(c.text);
        EXPECT_NEAR(peak.probability / mono.probability, c.ratio, c.ratio * 1e-9);
        EXPECT_NEAR(peak.mz - mono.mz, c.massShift, 1e-9);
    }
    // about 8.6 % for eight carbons, as a user checks it
    EXPECT_NEAR(byText.at("13C1").probability / mono.probability, 8 * 0.0107, 0.001);
}

TEST(SeparatedFinePeaks, FollowTheResolvingPower) {
    const ProfileInput input{formula(protonatedCaffeine), 1, {}};
    const struct {
        double resolvingPower;
        bool separate;
    } cases[] = {
        {1'000, false},
        {10'000, false}, // 13C and 15N lie 0.0063 apart, a FWHM is 0.0195
        {100'000, true}, // a FWHM is 0.00195
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resolvingPower);
        ProfileSettings settings;
        settings.resolvingPower = c.resolvingPower;
        const Profile profile = computeProfile(input, settings);
        EXPECT_EQ(finePeaksSeparate(profile, 1), c.separate);
    }
    ProfileSettings settings;
    settings.resolvingPower = 100'000;
    const Profile clusters =
        profileOfClusters({{195.0877, 0.9, 0}, {196.09, 0.1, 1e-6}}, 1, settings);
    EXPECT_FALSE(finePeaksSeparate(clusters, 1));
}

TEST(SeparatedFinePeaks, SticksWithinARange) {
    const std::vector<Peak> sticks{{100, 1}, {100.5, 2}, {101, 3}, {102, 4}};
    const struct {
        double low;
        double high;
        std::size_t first;
        std::size_t last;
    } cases[] = {
        {90, 99, 0, 0},   {103, 110, 4, 4},   {100.1, 100.2, 1, 1},
        {100, 101, 0, 3}, {100.2, 102, 1, 4}, {0, 1000, 0, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + " to " + std::to_string(c.high));
        const StickSpan span = sticksWithin(sticks, c.low, c.high);
        EXPECT_EQ(span.first, c.first);
        EXPECT_EQ(span.last, c.last);
    }
}

} // namespace
} // namespace orvane::profile
