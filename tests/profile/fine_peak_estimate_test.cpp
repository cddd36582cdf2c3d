#include "profile/fine_peak_estimate.h"

#include <IsoSpec++/isoSpec++.h>

#include <gtest/gtest.h>

#include "profile/normalised_elements.h"
#include "profile_test_support.h"

namespace orvane::profile {
namespace {

using support::formula;

// The combinations IsoSpec's layered generator builds for one element out to the first
// layer 3 below the most probable: for one element they are all it visits.
std::size_t isoSpecCombinations(const ElementAtoms& element) {
    std::vector<double> masses, probabilities;
    for (const Isotope& isotope : element.isotopes) {
        masses.push_back(isotope.mass);
        probabilities.push_back(isotope.probability);
    }
    IsoSpec::Iso iso;
    iso.addElement(element.atomCount, static_cast<int>(masses.size()), masses.data(),
                   probabilities.data());
    IsoSpec::IsoLayeredGenerator generator(std::move(iso), 1000, 1000, true, 0.0001);
    std::size_t visited = 0;
    do {
        while (generator.advanceToNextConfigurationWithinLayer()) {
            ++visited;
        }
    } while (visited < 2 && generator.nextLayer(-3.0));
    return visited;
}

// At a small coverage IsoSpec still builds a whole layer past the most probable peak: the
// estimate follows what it builds, not the few peaks kept. It runs low where a few atoms
// share many isotopes (Sn30: a third), where little is built anyway.
TEST(EnumerationBytes, FollowsWhatIsoSpecBuildsAtASmallCoverage) {
    const struct {
        const char* symbol;
        int atoms;
    } cases[] = {{"Zn", 100}, {"Zn", 500}, {"Sn", 45}, {"Sn", 60}, {"Cl", 2000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.symbol) + std::to_string(c.atoms));
        const std::vector<ElementAtoms> elements =
            normalisedElements(formula({{c.symbol, c.atoms}}));
        const double perCombination = 24 + 16 * double(elements[0].isotopes.size());
        const double estimated = estimateEnumerationBytes(elements, 0.0001, 3) / perCombination;
        const double built = double(isoSpecCombinations(elements[0]));
        EXPECT_GT(estimated, built / 2);
        EXPECT_LT(estimated, built * 2);
        // a larger coverage reaches further
        EXPECT_GT(estimateEnumerationBytes(elements, 0.9999, 3),
                  estimateEnumerationBytes(elements, 0.0001, 3));
    }
}

TEST(EnumerationBytes, NothingToChooseBuildsNothing) {
    ElementAtoms single{"F", 1000, {{0, 18.998403, 1.0}}};
    EXPECT_EQ(estimateEnumerationBytes({single}, 0.5, 3), 0.0);
    // only the marginals count: many elements of few atoms each build little
    const std::vector<ElementAtoms> protein = normalisedElements(formula(support::insulin));
    EXPECT_LT(estimateEnumerationBytes(protein, 0.9999, 3), 1e6);
}

} // namespace
} // namespace orvane::profile
