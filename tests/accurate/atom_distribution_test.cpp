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

// A kept power gives the clusters the computed one gives, bit for bit, for formulas that
// share element counts, for a label of the same element and count (its own isotopes), and
// after the cache has started again.
TEST(AtomDistribution, KeptPowersGiveTheSameClustersToTheLastBit) {
    const std::vector<AtomPart> glucose =
        atomPartsOf(countsOf({{"C", 6}, {"H", 12}, {"O", 6}}), shippedTables(), '.', {});
    LabelAtoms label;
    label.isotopes.symbol = "C";
    label.isotopes.isotopes = {{13, 13.0033548378, 0.99}, {12, 12.0, 0.01}};
    label.atoms = 6;
    label.column = columnOf("C");
    const std::vector<AtomPart> labelled =
        atomPartsOf(countsOf({{"H", 12}, {"O", 6}}), shippedTables(), '.', {label});
    const std::vector<AtomPart> other =
        atomPartsOf(countsOf({{"C", 6}, {"H", 13}, {"N", 1}}), shippedTables(), '.', {});

    PowerCache cache;
    for (int round = 0; round < 2; ++round) {
        for (const std::vector<AtomPart>* parts : {&glucose, &labelled, &other, &glucose}) {
            const AccurateMasses computed = AtomDistribution::of(*parts).masses();
            const AccurateMasses kept = AtomDistribution::of(*parts, &cache).masses();
            ASSERT_EQ(kept.clusters.size(), computed.clusters.size());
            for (std::size_t i = 0; i < computed.clusters.size(); ++i) {
                EXPECT_EQ(kept.clusters[i].mass, computed.clusters[i].mass);
                EXPECT_EQ(kept.clusters[i].probability, computed.clusters[i].probability);
                EXPECT_EQ(kept.clusters[i].variance, computed.clusters[i].variance);
            }
        }
        EXPECT_EQ(cache.size(), 6u); // C6, H12, O6, the label, H13, N1
    }

    // filling the cache starts it again; a power handed out before stays valid
    const auto first = cache.power(glucose[0].element, glucose[0].element.averageDefect(), 6);
    const double firstProbability = first->probability(0);
    for (long long n = 1; cache.size() > 1; ++n) {
        cache.power(glucose[1].element, glucose[1].element.averageDefect(), n);
    }
    EXPECT_EQ(first->probability(0), firstProbability);
    EXPECT_EQ(cache.size(), 1u);
}

// Without every cluster the lightest and the most abundant come out as they do among all
// of them, to the bit, also where two are equally tall (the lighter stays) and where the
// lightest is the tallest; so do they where the last convolution sums only their defects.
TEST(AtomDistribution, TheLightestAndTallestAloneAreThoseOfAllClusters) {
    ElementIsotopes even;
    even.symbol = "Ev";
    even.isotopes = {{10, 10.01, 0.5}, {11, 11.02, 0.5}};
    const std::vector<std::vector<AtomPart>> formulas = {
        atomPartsOf(countsOf({{"C", 6}, {"H", 12}, {"O", 6}}), shippedTables(), '.', {}),
        atomPartsOf(countsOf({{"C", 2934}, {"H", 4615}, {"N", 781}, {"O", 897}, {"S", 39}}),
                    shippedTables(), '.', {}),
        atomPartsOf(countsOf({{"C", 2}, {"H", 3}, {"Cl", 3}, {"Br", 4}}), shippedTables(), '.', {}),
        atomPartsOf(countsOf({{"H", 2}}), shippedTables(), '.', {}),
        {AtomPart{even, 1}},
        {AtomPart{even, 3}},
    };
    for (std::size_t f = 0; f < formulas.size(); ++f) {
        SCOPED_TRACE(f);
        const AtomDistribution distribution = AtomDistribution::of(formulas[f]);
        const AccurateMasses all = distribution.masses();
        PowerCache cache;
        for (const AccurateMasses& two :
             {distribution.masses(false), AtomDistribution::lightestAndTallest(formulas[f]),
              AtomDistribution::lightestAndTallest(formulas[f], &cache)}) {
            ASSERT_FALSE(two.clusters.empty());
            ASSERT_LE(two.clusters.size(), 2u);
            const auto same = [](const Cluster& a, const Cluster& b) {
                return a.nominalMass == b.nominalMass && a.mass == b.mass &&
                       a.probability == b.probability && a.intensity == b.intensity &&
                       a.variance == b.variance;
            };
            EXPECT_TRUE(same(two.clusters.front(), all.clusters.front()));
            EXPECT_TRUE(same(two.clusters.at(two.mostAbundant), all.clusters.at(all.mostAbundant)));
            EXPECT_EQ(two.clusters.size() == 1, all.mostAbundant == 0);
            EXPECT_EQ(two.monoisotopicMass, all.monoisotopicMass);
            EXPECT_EQ(two.averageMass, all.averageMass);
        }
    }
}

} // namespace
} // namespace orvane::accurate
