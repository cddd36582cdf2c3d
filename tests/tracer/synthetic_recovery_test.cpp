// Distributions built by convolving a known labelled distribution with the natural
// isotopes and the tracer's impurity, then corrected: the known one comes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/shortest_text.h"
#include "tracer/correction_matrix.h"
#include "tracer/tracer_isotope.h"
#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

using support::correctTexts;
using support::shippedTables;

std::vector<double> convolve(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out(a.size() + b.size() - 1, 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            out[i + j] += a[i] * b[j];
        }
    }
    return out;
}

// One atom of `symbol` by whole mass steps above its lightest isotope.
std::vector<double> oneAtom(const std::string& symbol) {
    const TracerTables tables = shippedTables();
    const auto& symbols = tables.reader.symbols;
    const int column =
        static_cast<int>(std::find(symbols.begin() + 1, symbols.end(), symbol) - symbols.begin());
    const std::vector<accurate::Isotope> isotopes = lightestFirst(tables.isotopes.of(column));
    std::vector<double> steps(isotopes.back().massNumber - isotopes.front().massNumber + 1, 0.0);
    for (const accurate::Isotope& isotope : isotopes) {
        steps[isotope.massNumber - isotopes.front().massNumber] += isotope.probability;
    }
    return steps;
}

std::vector<double> power(const std::vector<double>& atom, int count) {
    std::vector<double> out{1.0};
    for (int i = 0; i < count; ++i) {
        out = convolve(out, atom);
    }
    return out;
}

std::string lactateMeasurements(const std::string& sample, const std::vector<double>& areas) {
    std::string text = "sample\tmetabolite\tderivative\tisotopologue\tarea\n";
    for (std::size_t k = 0; k < areas.size(); ++k) {
        text += sample + "\tLac\tTBDMS\t" + std::to_string(k) + "\t" +
                text::shortestText(areas[k]) + "\n";
    }
    return text;
}

TEST(SyntheticRecovery, LowResolutionLabelledDistributionsComeBack) {
    // lactate C3H5O3 with a TBDMS derivative C6H15Si: all at natural abundance but the
    // three carbons of the metabolite, labelled 0.01,0.99 where they are labelled
    const std::vector<double> background =
        convolve(convolve(convolve(power(oneAtom("H"), 5 + 15), power(oneAtom("O"), 3)),
                          power(oneAtom("C"), 6)),
                 oneAtom("Si"));
    const std::vector<double> purity{0.01, 0.99};
    const std::vector<std::vector<double>> known = {
        {1e6, 0, 0, 0}, {0, 0, 0, 5e5}, {4e5, 1e5, 2.5e5, 7e4}, {0, 3e3, 0, 1e7}};
    for (const std::vector<double>& x : known) {
        std::vector<double> measured(4, 0.0);
        for (int j = 0; j < 4; ++j) {
            const std::vector<double> column =
                convolve(convolve(background, power(purity, j)), power(oneAtom("C"), 3 - j));
            for (int k = 0; k < 4; ++k) {
                measured[k] += x[j] * column[k];
            }
        }
        CorrectionSettings settings;
        settings.purity = "0.01,0.99";
        const CorrectionResult result =
            correctTexts(lactateMeasurements("S", measured), "name\tformula\nLac\tC3H5O3\n",
                         settings, "name\tformula\nTBDMS\tC6H15Si\n");
        ASSERT_EQ(result.rows.size(), 4u);
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(result.rows[k].correctedArea, x[k], 1e-9 * 1e7) << k;
            EXPECT_NEAR(result.rows[k].residuum, 0, 1e-12) << k;
        }
    }
}

TEST(SyntheticRecovery, DualTracerAtHighResolutionComesBack) {
    // glutamine-like C5H10N2O3 traced with 13C and 15N, Orbitrap 100000 at m/z 400
    const std::vector<Tracer> tracers = readTracers(shippedTables(), "13C,15N", "0.01,0.99;98");
    std::string measurements = "sample\tmetabolite\tderivative\tisotopologue\tarea\n";
    // the known distribution: a mixture of unlabelled, 13C5 and 13C5-15N2 molecules
    std::vector<double> known(6 * 3, 0.0);
    known[0] = 6e5;
    known[5 * 3 + 0] = 2e5;
    known[5 * 3 + 2] = 1.5e5;
    known[2 * 3 + 1] = 3e4;
    HighResolution resolution{100000, 400, Instrument::Orbitrap};
    // the measured areas from the same fine structure the correction sorts
    std::vector<AtomBlock> background;
    const TracerTables tables = shippedTables();
    for (const auto& [symbol, count] : {std::pair{"H", 10}, {"O", 3}}) {
        const auto& symbols = tables.reader.symbols;
        const int column = static_cast<int>(std::find(symbols.begin() + 1, symbols.end(), symbol) -
                                            symbols.begin());
        background.push_back({lightestFirst(tables.isotopes.of(column)), count});
    }
    std::vector<AtomBlock> all = background;
    all.push_back({tracers[0].isotopes, 5});
    all.push_back({tracers[1].isotopes, 2});
    const double limit = correctionLimit(resolution, lightestMass(all), -1);
    const CorrectionMatrix matrix = correctionMatrix(background, tracers, {5, 2}, true, limit);
    for (int i = 0; i < 18; ++i) {
        double area = 0;
        for (int j = 0; j < 18; ++j) {
            area += matrix.matrix.at(i, j) * known[j];
        }
        measurements += "S\tGln\t\t" + isotopologueText(matrix.isotopologues[i]) + "\t" +
                        text::shortestText(area) + "\n";
    }
    CorrectionSettings settings;
    settings.tracers = "13C,15N";
    settings.purity = "0.01,0.99;98";
    settings.resolution = resolution;
    const CorrectionResult result =
        correctTexts(measurements, "name\tformula\tcharge\nGln\tC5H10N2O3\t-1\n", settings);
    ASSERT_EQ(result.rows.size(), 18u);
    double enrichmentC = 0;
    double enrichmentN = 0;
    for (int i = 0; i < 18; ++i) {
        EXPECT_NEAR(result.rows[i].correctedArea, known[i], 1e-9 * 6e5) << i;
        enrichmentC += known[i] / 9.8e5 * matrix.isotopologues[i][0] / 5;
        enrichmentN += known[i] / 9.8e5 * matrix.isotopologues[i][1] / 2;
    }
    EXPECT_NEAR(result.rows[0].meanEnrichment.at(0), enrichmentC, 1e-12);
    EXPECT_NEAR(result.rows[0].meanEnrichment.at(1), enrichmentN, 1e-12);
    // the 13C-15N pairs differ by 0.0063 u, over twice the limit here
    EXPECT_LT(limit, 0.0063 / 2);
}

TEST(SyntheticRecovery, LighterIsotopeOfTheTracerElement) {
    // a 57Fe tracer in Fe2C: isotopologue k lies 3 k steps above all-54Fe; 56Fe atoms at
    // unlabelled positions land between the measured peaks and are not measured
    const std::vector<double> iron = oneAtom("Fe");
    const std::vector<double> known{2e5, 5e4, 1e5};
    std::vector<double> measured(3, 0.0);
    // purity "0,0.02,0.98,0" over 54Fe, 56Fe, 57Fe, 58Fe, as steps 0, 2, 3, 4
    const std::vector<double> labelled{0, 0, 0.02, 0.98, 0};
    for (int j = 0; j < 3; ++j) {
        const std::vector<double> column =
            convolve(convolve(power(labelled, j), power(iron, 2 - j)), oneAtom("C"));
        for (int k = 0; k < 3; ++k) {
            measured[k] += known[j] * column[3 * k];
        }
    }
    std::string text = "sample\tmetabolite\tderivative\tisotopologue\tarea\n";
    for (int k = 0; k < 3; ++k) {
        text += "S\tFeC\t\t" + std::to_string(k) + "\t" + text::shortestText(measured[k]) + "\n";
    }
    CorrectionSettings settings;
    settings.tracers = "57Fe";
    settings.purity = "0,0.02,0.98,0";
    const CorrectionResult result = correctTexts(text, "name\tformula\nFeC\tFe2C\n", settings);
    ASSERT_EQ(result.rows.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(result.rows[k].correctedArea, known[k], 1e-9 * 2e5) << k;
    }
}

} // namespace
} // namespace orvane::tracer
