#include "accurate/atom_distribution.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "accurate/atom_parts.h"
#include "accurate/power_cache.h"
#include "accurate_test_support.h"

namespace orvane::accurate {
namespace {

using support::columnOf;
using support::errorOf;
using support::shippedTables;
using Atoms = std::vector<std::pair<std::string, long long>>;

std::vector<AtomCount> countsOf(const Atoms& formula) {
    std::vector<AtomCount> atoms;
    for (const auto& [symbol, n] : formula) {
        atoms.push_back({columnOf(symbol), n});
    }
    return atoms;
}

TEST(AtomDistribution, AddedAtomsAreRefusedAsTheWholeFormulaWouldBe) {
    const AtomDistribution water =
        AtomDistribution::of(countsOf({{"H", 2}, {"O", 1}}), shippedTables(), '.');
    EXPECT_EQ(errorOf([&] {
                  water.plus(countsOf({{"Na", -1}}), shippedTables(), '.');
              }),
              "The formula has -1 atoms of Na; accurate masses need counts of 0 or more.");
}

// Adding atoms to a convolved molecule gives the clusters of the whole, to rounding.
TEST(AtomDistribution, AddingAtomsGivesTheWholeFormulasClusters) {
    const struct {
        Atoms molecule;
        Atoms added;
    } cases[] = {
        {{{"C", 378}, {"H", 629}, {"N", 105}, {"O", 118}, {"S", 1}}, {{"H", 7}}},
        {{{"C", 378}, {"H", 629}, {"N", 105}, {"O", 118}, {"S", 1}}, {{"Na", 3}, {"K", 2}}},
        {{{"C", 6}, {"H", 12}, {"O", 6}}, {{"Cl", 2}}},
        {{{"C", 6}, {"H", 12}, {"O", 6}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.added.size());
        Atoms whole = c.molecule;
        whole.insert(whole.end(), c.added.begin(), c.added.end());
        const AccurateMasses expected =
            computeAccurateMasses(countsOf(whole), shippedTables(), '.');
        const AccurateMasses added =
            AtomDistribution::of(countsOf(c.molecule), shippedTables(), '.')
                .plus(countsOf(c.added), shippedTables(), '.')
                .masses();
        EXPECT_NEAR(added.monoisotopicMass, expected.monoisotopicMass, 1e-9);
        EXPECT_NEAR(added.averageMass, expected.averageMass, 1e-9);
        EXPECT_EQ(added.mostAbundant, expected.mostAbundant);
        ASSERT_EQ(added.clusters.size(), expected.clusters.size());
        for (std::size_t i = 0; i < expected.clusters.size(); ++i) {
            EXPECT_EQ(added.clusters[i].nominalMass, expected.clusters[i].nominalMass);
            EXPECT_NEAR(added.clusters[i].mass, expected.clusters[i].mass, 1e-9);
            EXPECT_NEAR(added.clusters[i].intensity, expected.clusters[i].intensity,
                        1e-9 * std::max(1.0, expected.clusters[i].intensity));
        }
    }
}

bool sameCluster(const Cluster& a, const Cluster& b) {
    return a.nominalMass == b.nominalMass && a.mass == b.mass && a.probability == b.probability &&
           a.intensity == b.intensity && a.variance == b.variance;
}

// Kept powers and the lightest and tallest alone give what all clusters computed afresh
// give, to the bit: formulas that share element counts, a label of the same element and
// count (its own isotopes), two equally tall clusters (the lighter stays), the lightest the
// tallest; twice over one cache, which then starts again with a power handed out still valid.
TEST(AtomDistribution, KeptPowersAndTheTwoShownClustersAreThoseOfAllClusters) {
    LabelAtoms label;
    label.isotopes.symbol = "C";
    label.isotopes.isotopes = {{13, 13.0033548378, 0.99}, {12, 12.0, 0.01}};
    label.atoms = 6;
    label.column = columnOf("C");
    ElementIsotopes even;
    even.symbol = "Ev";
    even.isotopes = {{10, 10.01, 0.5}, {11, 11.02, 0.5}};
    const auto partsOf = [](const Atoms& atoms, const std::vector<LabelAtoms>& labels = {}) {
        return atomPartsOf(countsOf(atoms), shippedTables(), '.', labels);
    };
    const std::vector<std::vector<AtomPart>> formulas = {
        partsOf({{"C", 6}, {"H", 12}, {"O", 6}}),
        partsOf({{"H", 12}, {"O", 6}}, {label}),
        partsOf({{"C", 6}, {"H", 13}, {"N", 1}}),
        partsOf({{"C", 2934}, {"H", 4615}, {"N", 781}, {"O", 897}, {"S", 39}}),
        partsOf({{"C", 2}, {"H", 3}, {"Cl", 3}, {"Br", 4}}),
        partsOf({{"H", 2}}),
        {AtomPart{even, 1}},
        {AtomPart{even, 3}},
    };
    PowerCache cache;
    for (int round = 0; round < 2; ++round) {
        for (std::size_t f = 0; f < formulas.size(); ++f) {
            SCOPED_TRACE(f);
            const AccurateMasses all = AtomDistribution::of(formulas[f]).masses();
            const AccurateMasses kept = AtomDistribution::of(formulas[f], &cache).masses();
            ASSERT_EQ(kept.clusters.size(), all.clusters.size());
            for (std::size_t i = 0; i < all.clusters.size(); ++i) {
                EXPECT_TRUE(sameCluster(kept.clusters[i], all.clusters[i])) << i;
            }
            for (const AccurateMasses& two :
                 {AtomDistribution::of(formulas[f]).masses(false),
                  AtomDistribution::lightestAndTallest(formulas[f]),
                  AtomDistribution::lightestAndTallest(formulas[f], &cache)}) {
                ASSERT_FALSE(two.clusters.empty());
                ASSERT_LE(two.clusters.size(), 2u);
                EXPECT_TRUE(sameCluster(two.clusters.front(), all.clusters.front()));
                EXPECT_TRUE(sameCluster(two.clusters.at(two.mostAbundant),
                                        all.clusters.at(all.mostAbundant)));
                EXPECT_EQ(two.clusters.size() == 1, all.mostAbundant == 0);
                EXPECT_EQ(two.monoisotopicMass, all.monoisotopicMass);
                EXPECT_EQ(two.averageMass, all.averageMass);
            }
        }
        // one power per element and count (the label its own); none added the second time
        EXPECT_EQ(cache.size(), 18u);
    }

    const AtomPart& carbon = formulas[0][0];
    const auto first = cache.power(carbon.element, carbon.element.averageDefect(), 6);
    const double firstProbability = first->probability(0);
    for (long long n = 1; cache.size() > 1; ++n) {
        cache.power(carbon.element, carbon.element.averageDefect(), n + 6);
    }
    EXPECT_EQ(first->probability(0), firstProbability);
    EXPECT_EQ(cache.size(), 1u);
}

} // namespace
} // namespace orvane::accurate
