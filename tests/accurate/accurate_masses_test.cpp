#include "accurate/accurate_masses.h"

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "accurate/element_isotopes.h"
#include "accurate/ion_mz.h"
#include "accurate_test_support.h"

namespace orvane::accurate {
namespace {

using support::columnOf;
using support::errorOf;
using support::shippedTables;
using Formula = std::vector<std::pair<std::string, long long>>;

AccurateMasses computed(const Formula& formula) {
    std::vector<AtomCount> atoms;
    for (const auto& [symbol, n] : formula) {
        atoms.push_back({columnOf(symbol), n});
    }
    return computeAccurateMasses(atoms, shippedTables(), '.');
}

ElementIsotopes shipped(const std::string& symbol) {
    return readElementIsotopes(shippedTables(), columnOf(symbol), '.');
}

TEST(AccurateMasses, RefusedAndEmptyFormulas) {
    EXPECT_EQ(errorOf([] {
                  computed({{"H", 2}, {"C", -1}});
              }),
              "The formula has -1 atoms of C; accurate masses need counts of 0 or more.");
    for (const Formula& large : {Formula{{"C", 1000000000000}}, Formula{{"F", 1LL << 60}}}) {
        EXPECT_TRUE(errorOf([&] {
                        computed(large);
                    }).starts_with("The formula is too large for accurate clusters"));
    }
    data::DataTables tables = shippedTables();
    tables.masses.setCell(0, columnOf("Sn"), "not read"); // no Sn atoms
    const AccurateMasses none = computeAccurateMasses({{columnOf("Sn"), 0}}, tables, '.');
    ASSERT_EQ(none.clusters.size(), 1u);
    EXPECT_EQ(none.clusters[0].nominalMass, 0);
    EXPECT_EQ(none.clusters[0].mass, 0.0);
    EXPECT_EQ(none.clusters[0].intensity, 100.0);
}

// Worked by hand from the shipped masses (H 1.00782503223, C 12, N 14.00307400443,
// O 15.99491461957, Na 22.989769282, Fe 55.93493633; electron 0.000548579909065), to 5 decimals.
TEST(AccurateMasses, MonoisotopicIonsWorkedByHand) {
    const struct {
        const char* ion;
        Formula atoms;
        int charge; // 0: the neutral mass
        double expected;
    } cases[] = {
        {"glucose", {{"C", 6}, {"H", 12}, {"O", 6}}, 0, 180.06339},
        {"[M+H]+", {{"C", 6}, {"H", 13}, {"O", 6}}, 1, 181.07066},
        {"[M+Na]+", {{"C", 6}, {"H", 12}, {"O", 6}, {"Na", 1}}, 1, 203.05261},
        {"[M-H]-", {{"C", 6}, {"H", 11}, {"O", 6}}, -1, 179.05611},
        {"[2M+Na]+", {{"C", 12}, {"H", 24}, {"O", 12}, {"Na", 1}}, 1, 383.11600},
        {"[M+2H]2+", {{"C", 6}, {"H", 14}, {"O", 6}}, 2, 91.03897},
        {"hemin [M-Cl]+", {{"C", 34}, {"H", 32}, {"Fe", 1}, {"N", 4}, {"O", 4}}, 1, 616.17674},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ion);
        const double mass = computed(c.atoms).monoisotopicMass;
        EXPECT_NEAR(mzOf(mass, c.charge), c.expected, 0.5e-5); // charge 0: the mass itself
    }
}

TEST(AccurateMasses, ClustersMatchTheEnumeratedIsotopologues) {
    const struct {
        Formula atoms;
        std::vector<std::string> symbols; // one per atom
        double monoisotopic;              // by hand: 35Cl, 120Sn (not in slot 0)
    } cases[] = {
        {{{"Cl", 2}}, {"Cl", "Cl"}, 2 * 34.968852682},
        {{{"Sn", 1}, {"Cl", 4}}, {"Sn", "Cl", "Cl", "Cl", "Cl"}, 119.90220163 + 4 * 34.968852682}};
    for (const auto& c : cases) {
        // every isotopologue, atom by atom: probability, and its sums with mass and mass^2
        std::map<long long, std::array<long double, 3>> bins;
        std::function<void(std::size_t, long long, long double, long double)> next =
            [&](std::size_t atom, long long nominal, long double p, long double mass) {
                if (atom == c.symbols.size()) {
                    auto& [sp, spm, spmm] = bins[nominal];
                    sp += p, spm += p * mass, spmm += p * mass * mass;
                    return;
                }
                for (const Isotope& isotope : shipped(c.symbols[atom]).isotopes) {
                    next(atom + 1, nominal + isotope.massNumber, p * isotope.probability,
                         mass + isotope.mass);
                }
            };
        next(0, 0, 1, 0);

        const AccurateMasses masses = computed(c.atoms);
        EXPECT_NEAR(masses.monoisotopicMass, c.monoisotopic, 1e-9);
        long double average = 0;
        for (const auto& [nominal, sums] : bins) {
            average += sums[1];
        }
        EXPECT_NEAR(masses.averageMass, average, 1e-9);
        ASSERT_EQ(masses.clusters.size(), bins.size());
        for (const Cluster& cluster : masses.clusters) {
            SCOPED_TRACE(cluster.nominalMass);
            ASSERT_EQ(bins.count(cluster.nominalMass), 1u);
            const auto [p, pm, pmm] = bins.at(cluster.nominalMass);
            EXPECT_NEAR(cluster.probability, p, 1e-9 * p);
            EXPECT_NEAR(cluster.mass, pm / p, 1e-6);
            EXPECT_NEAR(cluster.variance, pmm / p - (pm / p) * (pm / p), 1e-12);
        }
    }
}

// C1000 has only 12C and 13C: k 13C atoms lie at 12000 + 1.00335483507 k with the binomial
// probability, and every cluster is one isotopologue (variance 0 up to the rounding of
// S2/P - (S1/P)^2 on defects of a few hundredths of u). Nothing above 1e-39 of the
// tallest is missing.
TEST(AccurateMasses, CarbonClustersAreBinomial) {
    const AccurateMasses masses = computed({{"C", 1000}});
    auto binomial = [](std::size_t k) {
        const long double p13 = 0.0107L;
        return std::exp(std::lgamma(1001.0L) - std::lgamma(k + 1.0L) - std::lgamma(1001.0L - k) +
                        k * std::log(p13) + (1000.0L - k) * std::log1p(-p13));
    };
    for (std::size_t k = 0; k < masses.clusters.size(); ++k) {
        SCOPED_TRACE(k);
        const Cluster& cluster = masses.clusters[k];
        EXPECT_EQ(cluster.nominalMass, 12000 + static_cast<long long>(k));
        EXPECT_NEAR(cluster.probability, binomial(k), 1e-12 * binomial(k));
        EXPECT_NEAR(cluster.mass, 12000 + 1.00335483507L * k, 1e-9);
        EXPECT_LT(cluster.variance, 1e-15);
    }
    EXPECT_EQ(masses.clusters[masses.mostAbundant].nominalMass, 12010);
    EXPECT_LT(binomial(masses.clusters.size()), 1e-39 * binomial(10));
}

// The clusters of a protein add up to the whole: probability 1, the mean the average mass
// and the spread the sum of the atoms' variances (taken from the isotopes alone).
TEST(AccurateMasses, ProteinClustersAddUpToTheWhole) {
    const Formula albumin = {{"C", 2934}, {"H", 4615}, {"N", 781}, {"O", 897}, {"S", 39}};
    const Formula titin = {{"C", 169719}, {"H", 270464}, {"N", 45688}, {"O", 52237}, {"S", 911}};
    for (const Formula& protein : {albumin, titin}) {
        long double variance = 0;
        for (const auto& [symbol, n] : protein) {
            const ElementIsotopes element = shipped(symbol);
            for (const Isotope& isotope : element.isotopes) {
                variance +=
                    n * isotope.probability * std::pow(isotope.mass - element.averageMass(), 2.0L);
            }
        }
        const AccurateMasses masses = computed(protein);
        SCOPED_TRACE(masses.averageMass);
        long double total = 0, mean = 0, spread = 0;
        for (const Cluster& cluster : masses.clusters) {
            total += cluster.probability;
            mean += cluster.probability * static_cast<long double>(cluster.mass);
        }
        for (const Cluster& cluster : masses.clusters) {
            spread +=
                cluster.probability * (cluster.variance + std::pow(cluster.mass - mean, 2.0L));
        }
        EXPECT_NEAR(total, 1.0, 1e-12);
        EXPECT_NEAR(mean, masses.averageMass, 1e-6);
        EXPECT_NEAR(spread, variance, 1e-9 * variance);
        EXPECT_EQ(masses.clusters[masses.mostAbundant].intensity, 100.0);
    }
}

} // namespace
} // namespace orvane::accurate
