// IsoCor's fumarate, glycerol-3-phosphate and 2-oxoglutarate of its example, corrected by
// IsoCor 2.2.3 (MetaboliteCorrectorFactory, scipy's L-BFGS-B) given Orvane's isotope
// abundances and masses: the numbers below are its output. IsoCor stops its gradient
// search at a tolerance, so the comparison is to 1e-6 of each sum.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

using support::correctTexts;

const char* const isoCorMetabolites = "name\tformula\tcharge\n"
                                      "Fum\tC4H3O4\t-1\n"
                                      "G3P\tC3H7O3\t-1\n"
                                      "aKG\tC5H5O5\t-1\n";

std::string isoCorMeasurements(const std::string& metabolite, const std::vector<double>& areas) {
    std::string text = "sample\tmetabolite\tderivative\tisotopologue\tarea\tresolution\n";
    for (std::size_t k = 0; k < areas.size(); ++k) {
        text += "Sample_1\t" + metabolite + " \t\t" + std::to_string(k) + "\t" +
                std::to_string(static_cast<long long>(areas[k])) + "\t70000\n";
    }
    return text;
}

struct IsoCorCase {
    const char* name;
    const char* metabolite;
    std::vector<double> areas;
    bool highResolution;
    bool tracerNaturalAbundance;
    std::vector<double> corrected;
    std::vector<double> fractions;
    double enrichment;
};

TEST(IsoCorCase, CorrectedAreasFractionsAndEnrichmentAgreeWithIsoCor) {
    const std::vector<double> fumarate{376000, 235000, 127000, 143000, 40000};
    const IsoCorCase cases[] = {
        {"Fum, low resolution",
         "Fum",
         fumarate,
         false,
         true,
         {394197.8038, 227356.6418, 117931.3034, 143944.6399, 39135.46616},
         {0.4272841897, 0.2464394715, 0.1278296859, 0.1560264116, 0.04242024127},
         0.2849647608},
        {"Fum, low resolution, tracer's natural abundance left",
         "Fum",
         fumarate,
         false,
         false,
         {377430.0199, 236559.6245, 122879.5823, 144991.3283, 40705.29998},
         {0.4091090277, 0.2564148924, 0.1331932909, 0.1571609523, 0.04412183668},
         0.2926929195},
        {"Fum, Orbitrap 70000 at m/z 400",
         "Fum",
         fumarate,
         true,
         true,
         {394196.7605, 227426.5281, 121207.8305, 145898.8882, 40241.68976},
         {0.4243366744, 0.2448153467, 0.1304752673, 0.1570541801, 0.04331853153},
         0.2875506369},
        {"G3P, Orbitrap 70000 at m/z 400",
         "G3P",
         {715000, 557000, 24800, 133000},
         true,
         true,
         {738855.2973, 554393.8823, 8694.530878, 137994.4328},
         {0.5131159979, 0.3850122902, 0.006038128039, 0.09583358387},
         0.2281964326},
        {"aKG, Orbitrap 70000 at m/z 400, two areas clipped at 0",
         "aKG",
         {761000, 95100, 391000, 39300, 0, 0},
         true,
         true,
         {812825.3962, 47716.78354, 412993.8435, 27627.76399, 0, 0},
         {0.6246910682, 0.03667238822, 0.3174034257, 0.02123311782, 0, 0},
         0.1470357186},
    };
    for (const IsoCorCase& c : cases) {
        SCOPED_TRACE(c.name);
        CorrectionSettings settings;
        settings.purity = "0.01,0.99";
        settings.correctTracerNaturalAbundance = c.tracerNaturalAbundance;
        if (c.highResolution) {
            settings.resolution = HighResolution{70000, 400, Instrument::Orbitrap};
        }
        const CorrectionResult result =
            correctTexts(isoCorMeasurements(c.metabolite, c.areas), isoCorMetabolites, settings);
        ASSERT_EQ(result.rows.size(), c.areas.size());
        double sum = 0;
        for (const double area : c.areas) {
            sum += area;
        }
        for (std::size_t k = 0; k < c.areas.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(result.rows[k].counts, std::vector<int>{static_cast<int>(k)});
            EXPECT_NEAR(result.rows[k].correctedArea, c.corrected[k], 1e-6 * sum);
            EXPECT_NEAR(result.rows[k].fraction, c.fractions[k], 1e-6);
            EXPECT_NEAR(result.rows[k].meanEnrichment.at(0), c.enrichment, 1e-6);
            EXPECT_GE(result.rows[k].correctedArea, 0);
        }
    }
}

} // namespace
} // namespace orvane::tracer
