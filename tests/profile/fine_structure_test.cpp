#include "profile/fine_structure.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/cancelled.h"
#include "profile/fine_peak_estimate.h"
#include "profile/normalised_elements.h"
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
    ElementAtoms negativeProbability = support::element("Cl", 2);
    negativeProbability.isotopes[1].probability = -1;
    ElementAtoms noProbability{"X", 1, {{10, 0}}};
    const struct {
        std::vector<ElementAtoms> elements;
        double coverage;
        std::string message;
    } cases[] = {
        {formula({{"Cl", 2}}), 0, "The coverage must be above 0 and at most 1, not 0."},
        {formula({{"Cl", 2}}), 1.5, "The coverage must be above 0 and at most 1, not 1.5."},
        {formula({{"Cl", 2}}), NAN, "The coverage must be above 0 and at most 1, not NAN."},
        {{}, 0.9, "The ion has no atoms."},
        {formula({{"C", 0}, {"H", 0}}), 0.9, "The ion has no atoms."},
        {formula({{"C", -1}}), 0.9, "Element C: the atom count -1 is negative."},
        {{negativeProbability},
         0.9,
         "Element Cl, isotope 2: the probability -1 is not a number of 0 or more."},
        {{noProbability}, 0.9, "Element X: no isotope has a probability above 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(errorOf(c.elements, c.coverage), c.message);
    }
}

TEST(FineStructure, CancelsWhenStopIsRequested) {
    std::stop_source source;
    source.request_stop();
    EXPECT_THROW(computeFineStructure(formula(support::insulin), 1, 0.9999, defaultMaxFinePeaks,
                                      source.get_token()),
                 Cancelled);
}

// Every isotopologue (coverage 1) against the brute-force enumeration: masses to
// 1e-9 u, probabilities to 1e-9 of their own size, for both signs of charge.
TEST(FineStructure, CompleteSetMatchesBruteForce) {
    std::vector<ElementAtoms> withPhosphorus = formula({{"Cl", 3}, {"O", 2}});
    withPhosphorus.push_back({"P", 1, {{30.97376163, 100}}});
    const struct {
        std::string name;
        std::vector<ElementAtoms> elements;
        int charge;
    } cases[] = {
        {"Cl2", formula({{"Cl", 2}}), 1},
        {"CH4", formula({{"C", 1}, {"H", 4}}), 2},
        {"H2O", formula({{"H", 2}, {"O", 1}}), -1},
        {"H2O neutral", formula({{"H", 2}, {"O", 1}}), 0},
        {"C2H5ClS", formula({{"C", 2}, {"H", 5}, {"Cl", 1}, {"S", 1}}), 1},
        {"PO2Cl3, P of one isotope", withPhosphorus, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<FinePeak> exact =
            support::asFinePeaks(support::bruteForce(c.elements), c.charge);
        const FineStructure fine = computeFineStructure(c.elements, c.charge, 1.0);
        ASSERT_FALSE(fine.tooMany);
        ASSERT_EQ(fine.peaks.size(), exact.size());
        for (std::size_t i = 0; i < exact.size(); ++i) {
            EXPECT_NEAR(fine.peaks[i].mz, exact[i].mz, 1e-9);
            EXPECT_NEAR(fine.peaks[i].probability, exact[i].probability,
                        1e-9 * exact[i].probability);
        }
        EXPECT_NEAR(fine.coverage, 1.0, 1e-12);
    }
}

// 35Cl2+ worked by hand: (2 * 34.96885268 - 0.000548579909065) / 1, probability 0.7578^2.
TEST(FineStructure, LightestDichlorineIon) {
    const FineStructure fine = computeFineStructure(formula({{"Cl", 2}}), 1, 1.0);
    ASSERT_EQ(fine.peaks.size(), 3u);
    EXPECT_NEAR(fine.peaks[0].mz, 69.937156780090935, 1e-12);
    EXPECT_NEAR(fine.peaks[0].probability, 0.57426084, 1e-12);
}

// A partial coverage keeps the most probable isotopologues, as few as reach it.
TEST(FineStructure, PartialCoverageIsTheSmallestSet) {
    const auto counts = formula({{"C", 15}, {"H", 22}, {"N", 3}, {"O", 5}, {"S", 1}});
    std::vector<support::ExactPeak> exact = support::bruteForce(counts);
    std::sort(exact.begin(), exact.end(),
              [](const auto& a, const auto& b) { return a.probability > b.probability; });
    for (double coverage : {0.5, 0.99, 0.9999}) {
        SCOPED_TRACE(coverage);
        std::size_t needed = 0;
        for (double sum = 0; sum < coverage; ++needed) {
            sum += exact[needed].probability;
        }
        const FineStructure fine = computeFineStructure(counts, 1, coverage);
        EXPECT_EQ(fine.peaks.size(), needed);
        EXPECT_GE(fine.coverage, coverage - 1e-12);
        EXPECT_TRUE(std::is_sorted(fine.peaks.begin(), fine.peaks.end(),
                                   [](const auto& a, const auto& b) { return a.mz < b.mz; }));
    }
}

// Insulin has 3355 peaks at 0.9999: over a limit of 1000 the enumeration says so, over
// a limit of 10 the estimate already does; an element of ten even isotopes and 100
// atoms (10^12 isotopologues, too many to hold) is refused before IsoSpec starts.
TEST(FineStructure, ReportsTooManyPeaks) {
    ElementAtoms flat{"X", 100, {}};
    for (int i = 0; i < 10; ++i) {
        flat.isotopes.push_back({100.0 + i, 0.1});
    }
    const struct {
        std::string name;
        std::vector<ElementAtoms> elements;
        std::size_t limit;
    } cases[] = {
        {"insulin, enumerated", formula(support::insulin), 1000},
        {"insulin, estimated", formula(support::insulin), 10},
        {"flat", {flat}, defaultMaxFinePeaks},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const FineStructure fine = computeFineStructure(c.elements, 1, 0.9999, c.limit);
        EXPECT_TRUE(fine.tooMany);
        EXPECT_TRUE(fine.peaks.empty());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    EXPECT_EQ(computeFineStructure(formula(support::insulin), 1, 0.9999, 3355).peaks.size(), 3355u);
}

// One binomial dimension: C1000 holds 26 isotopologues at 0.9999 (+-3.9 sigma of 13C
// count, sigma 3.25); the estimate is the ellipsoid, within 15 %. Cl2 has 3 in all.
TEST(FinePeakEstimate, FollowsTheNormalApproximation) {
    const auto carbon = normalisedElements(formula({{"C", 1000}}));
    const double actual = static_cast<double>(computeFineStructure(carbon, 1, 0.9999).peaks.size());
    EXPECT_NEAR(estimateFinePeakCount(carbon, 0.9999), actual, 0.15 * actual);
    const auto chlorine = normalisedElements(formula({{"Cl", 2}}));
    EXPECT_DOUBLE_EQ(estimateFinePeakCount(chlorine, 1.0), 3.0);
}

} // namespace
} // namespace orvane::profile
