#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tracer/correction_matrix.h"
#include "tracer/tracer_isotope.h"
#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

using support::shippedTables;

AtomBlock naturalBlock(const std::string& symbol, long long count) {
    const TracerTables tables = shippedTables();
    const auto& symbols = tables.reader.symbols;
    const int column =
        static_cast<int>(std::find(symbols.begin() + 1, symbols.end(), symbol) - symbols.begin());
    return {lightestFirst(tables.isotopes.of(column)), count};
}

double probabilityOf(const AtomBlock& block, long long massNumber) {
    for (const accurate::Isotope& isotope : block.isotopes) {
        if (isotope.massNumber == massNumber) {
            return isotope.probability;
        }
    }
    return 0;
}

TEST(CorrectionMatrix, PerfectTracerWithoutOtherAtomsIsTheNaturalCarbonAtUnlabelledPositions) {
    const Tracer carbon = readTracers(shippedTables(), "13C", "").front();
    const double p12 = carbon.isotopes[0].probability;
    const double p13 = carbon.isotopes[1].probability;
    const CorrectionMatrix natural = correctionMatrix({}, {carbon}, {2}, true, std::nullopt);
    // column j: j labelled atoms, 2 - j natural ones
    const double expected[3][3] = {{p12 * p12, 0, 0}, {2 * p12 * p13, p12, 0}, {p13 * p13, p13, 1}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(natural.matrix.at(i, j), expected[i][j], 1e-16) << i << "," << j;
        }
    }
    // the tracer's natural abundance left: unlabelled positions are 12C, the matrix is 1
    const CorrectionMatrix left = correctionMatrix({}, {carbon}, {2}, false, std::nullopt);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(left.matrix.at(i, j), i == j ? 1.0 : 0.0) << i << "," << j;
        }
    }
}

TEST(CorrectionMatrix, ImpurityMovesLabelledPositionsDown) {
    const Tracer carbon = readTracers(shippedTables(), "13C", "0.01,0.99").front();
    const CorrectionMatrix matrix = correctionMatrix({}, {carbon}, {1}, false, std::nullopt);
    EXPECT_NEAR(matrix.matrix.at(0, 1), 0.01, 1e-16);
    EXPECT_NEAR(matrix.matrix.at(1, 1), 0.99, 1e-16);
}

TEST(CorrectionMatrix, HighResolutionKeepsOnlyWhatCannotBeSeparatedFromTheTracer) {
    // C3 beside N: 15N lies 0.0063 u below 13C's step, so R 10^6 separates it
    const Tracer carbon = readTracers(shippedTables(), "13C", "").front();
    const AtomBlock nitrogen = naturalBlock("N", 1);
    const double p12 = carbon.isotopes[0].probability;
    const double p13 = carbon.isotopes[1].probability;
    const double n14 = probabilityOf(nitrogen, 14);
    const double n15 = probabilityOf(nitrogen, 15);
    struct ResolutionCase {
        const char* name;
        std::optional<double> limit;
        double expected; // of M+1 in the column of the unlabelled molecule
    };
    const ResolutionCase cases[] = {
        {"whole mass steps: 13C and 15N both in M+1", std::nullopt,
         3 * p13 * p12 * p12 * n14 + p12 * p12 * p12 * n15},
        {"limit 1e-4 u: 15N separated", 1e-4, 3 * p13 * p12 * p12 * n14},
        {"limit 0.01 u: 15N within the peak again", 0.01,
         3 * p13 * p12 * p12 * n14 + p12 * p12 * p12 * n15},
    };
    for (const ResolutionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CorrectionMatrix matrix = correctionMatrix({nitrogen}, {carbon}, {3}, true, c.limit);
        EXPECT_NEAR(matrix.matrix.at(1, 0), c.expected, 1e-15);
    }
}

TEST(CorrectionMatrix, ElementWithALighterIsotopeCountsFromIt) {
    // Fe beside a 13C tracer: M+0 holds 54Fe, the common 56Fe is M+2
    const Tracer carbon = readTracers(shippedTables(), "13C", "").front();
    const AtomBlock iron = naturalBlock("Fe", 1);
    const double p12 = carbon.isotopes[0].probability;
    const CorrectionMatrix matrix = correctionMatrix({iron}, {carbon}, {1}, true, std::nullopt);
    EXPECT_NEAR(matrix.matrix.at(0, 0), p12 * probabilityOf(iron, 54), 1e-16);
    EXPECT_NEAR(matrix.matrix.at(1, 1), probabilityOf(iron, 54), 1e-16);
    // a 57Fe tracer: its isotopologue k lies 3 k steps above all-54Fe
    const Tracer iron57 = readTracers(shippedTables(), "57Fe", "").front();
    const CorrectionMatrix traced = correctionMatrix({}, {iron57}, {2}, true, std::nullopt);
    // both positions labelled: nothing but 57Fe2, 6 steps up
    EXPECT_NEAR(traced.matrix.at(2, 2), 1, 1e-16);
    // both natural: 54Fe57Fe lies 3 steps up
    EXPECT_NEAR(traced.matrix.at(1, 0), 2 * probabilityOf(iron, 54) * probabilityOf(iron, 57),
                1e-16);
}

TEST(CorrectionMatrix, TwoTracersAtHighResolutionAreIndexedByBothCounts) {
    const std::vector<Tracer> tracers = readTracers(shippedTables(), "13C,15N", "");
    const CorrectionMatrix matrix = correctionMatrix({}, tracers, {2, 1}, false, 1e-4);
    const std::vector<std::vector<int>> expected{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
    EXPECT_EQ(matrix.isotopologues, expected);
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6; ++j) {
            EXPECT_NEAR(matrix.matrix.at(i, j), i == j ? 1.0 : 0.0, 1e-16) << i << "," << j;
        }
    }
}

} // namespace
} // namespace orvane::tracer
