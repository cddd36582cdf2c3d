#include "profile/fine_structure.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile_test_support.h"
#include "text/error.h"

namespace orvane::profile {
namespace {

using support::formula;

std::string errorOf(const std::vector<ElementAtoms>& elements, double coverage) {
    try {
        computeFineStructure(elements, 1, coverage);
    } catch (const text::Error& error) {
        return error.what();
    }
    return {};
}

TEST(FineStructure, RefusesInvalidInput) {
    auto negative = formula({{"Cl", 2}});
    negative[0].isotopes[1].probability = -1;
    const struct {
        std::vector<ElementAtoms> elements;
        double coverage;
        std::string message;
    } cases[] = {
        {formula({{"Cl", 2}}), 0, "The coverage must be above 0 and at most 1, not 0."},
        {formula({{"Cl", 2}}), 1.5, "The coverage must be above 0 and at most 1, not 1.5."},
        {formula({{"C", 0}, {"H", 0}}), 0.9, "The ion has no atoms."},
        {formula({{"C", -1}}), 0.9, "Element C: the atom count -1 is negative."},
        {negative, 0.9, "Element Cl, isotope 2: the probability -1 is not a number of 0 or more."},
        {{{"X", 1, {{0, 10, 0}}}}, 0.9, "Element X: no isotope has a probability above 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(errorOf(c.elements, c.coverage), c.message);
    }
}

// Coverage 1 against the brute-force enumeration: masses to 1e-9 u, probabilities to
// 1e-9 of their own size, both signs of charge and none, an element of one isotope.
TEST(FineStructure, CompleteSetMatchesBruteForce) {
    auto withPhosphorus = formula({{"Cl", 3}, {"O", 2}});
    withPhosphorus.push_back({"P", 1, {{0, 30.97376163, 100}}});
    const struct {
        std::vector<ElementAtoms> elements;
        int charge;
    } cases[] = {
        {formula({{"Cl", 2}}), 1},
        {formula({{"C", 1}, {"H", 4}}), 2},
        {formula({{"H", 2}, {"O", 1}}), -1},
        {formula({{"H", 2}, {"O", 1}}), 0},
        {withPhosphorus, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elements[0].symbol + std::to_string(c.charge));
        const auto exact = support::asFinePeaks(support::bruteForce(c.elements), c.charge);
        const FineStructure fine = computeFineStructure(c.elements, c.charge, 1.0);
        ASSERT_EQ(fine.peaks.size(), exact.size());
        for (std::size_t i = 0; i < exact.size(); ++i) {
            EXPECT_NEAR(fine.peaks[i].mz, exact[i].mz, 1e-9);
            EXPECT_NEAR(fine.peaks[i].probability, exact[i].probability,
                        1e-9 * exact[i].probability);
        }
        EXPECT_NEAR(fine.coverage, 1.0, 1e-12);
    }
    // 35Cl2+ by hand: 2 * 34.96885268 - 0.000548579909065, probability 0.7578^2
    const FineStructure chlorine = computeFineStructure(formula({{"Cl", 2}}), 1, 1.0);
    EXPECT_NEAR(chlorine.peaks[0].mz, 69.937156780090935, 1e-12);
    EXPECT_NEAR(chlorine.peaks[0].probability, 0.57426084, 1e-12);
}

// A partial coverage keeps the most probable isotopologues, as few as reach it.
TEST(FineStructure, PartialCoverageIsTheSmallestSet) {
    const auto elements = formula({{"C", 15}, {"H", 22}, {"N", 3}, {"O", 5}, {"S", 1}});
    auto exact = support::bruteForce(elements);
    std::sort(exact.begin(), exact.end(),
              [](auto& a, auto& b) { return a.probability > b.probability; });
    for (double coverage : {0.5, 0.99, 0.9999}) {
        SCOPED_TRACE(coverage);
        std::size_t needed = 0;
        for (double sum = 0; sum < coverage; ++needed) {
            sum += exact[needed].probability;
        }
        const FineStructure fine = computeFineStructure(elements, 1, coverage);
        EXPECT_EQ(fine.peaks.size(), needed);
        EXPECT_GE(fine.coverage, coverage - 1e-12);
        EXPECT_TRUE(std::is_sorted(fine.peaks.begin(), fine.peaks.end(),
                                   [](auto& a, auto& b) { return a.mz < b.mz; }));
    }
}

// Insulin has 3355 peaks at 0.9999: over a limit of 1000 the enumeration finds it, over
// 10 the estimate already; ten even isotopes on 100 atoms (4e12 isotopologues, which
// IsoSpec would try to hold) are refused before it starts: a walk of them would not end
// within the suite's time limit, so no clock is needed to tell.
TEST(FineStructure, ReportsTooManyPeaksEarly) {
    ElementAtoms flat{"X", 100, std::vector<Isotope>(10, {0, 100, 0.1})};
    for (int i = 0; i < 10; ++i) {
        flat.isotopes[i].mass += i;
    }
    const struct {
        std::vector<ElementAtoms> elements;
        std::size_t limit;
    } cases[] = {
        {formula(support::insulin), 1000}, {formula(support::insulin), 10}, {{flat}, 1'000'000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        const FineStructure fine = computeFineStructure(c.elements, 1, 0.9999, c.limit);
        EXPECT_TRUE(fine.tooMany && fine.peaks.empty());
    }
    EXPECT_EQ(computeFineStructure(formula(support::insulin), 1, 0.9999, 3355).peaks.size(), 3355u);
}

// At a small coverage a few peaks are kept, but IsoSpec would first build the whole layer
// past the most probable peak: 11 million combinations of Zn5000 (600 MB), 110,000 of
// Zn500. What it would build counts against the limit as the peaks do, at every coverage.
TEST(FineStructure, WhatIsoSpecWouldBuildCountsAtEveryCoverage) {
    const struct {
        int atoms;
        double coverage;
        bool tooMany;
    } cases[] = {{5000, 0.0001, true}, {5000, 0.5, true}, {500, 0.0001, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.atoms) + " at " + std::to_string(c.coverage));
        const FineStructure fine = computeFineStructure(formula({{"Zn", c.atoms}}), 1, c.coverage);
        EXPECT_EQ(fine.tooMany, c.tooMany);
        EXPECT_EQ(fine.peaks.empty(), c.tooMany);
    }
}

// IsoSpec holds at most about ten million atoms of one element and raises std::length_error
// beyond; that is too many fine peaks, not a failure that leaves the profile.
TEST(FineStructure, MoreAtomsThanIsoSpecHoldsAreTooMany) {
    for (const int atoms : {10'800'000, 20'000'000}) {
        SCOPED_TRACE(atoms);
        const FineStructure fine = computeFineStructure(formula({{"H", atoms}}), 1, 0.9999);
        EXPECT_TRUE(fine.tooMany && fine.peaks.empty());
    }
}

} // namespace
} // namespace orvane::profile
