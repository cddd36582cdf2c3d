// AccuCor's C and N examples (glucose 6-phosphate at R 100000, glutathione at R 140000, both
// at m/z 200, purity 0.99, two samples each): its Normalized sheet is reproduced with its
// isotope abundances and masses given as an isotope table and its purity as "99+natural".
// The numbers below are AccuCor's published output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tracer/isotope_table.h"
#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

// the abundances and masses AccuCor's correction works with, in IsoCor's layout
const char* const accuCorIsotopes = "element,mass,abundance\n"
                                    "C,12,0.9893\nC,13.00335,0.0107\n"
                                    "H,1.00783,0.999885\nH,2.0141,0.000115\n"
                                    "N,14.00307,0.99636\nN,15.00011,0.00364\n"
                                    "O,15.99491,0.99757\nO,16.99913,0.00038\nO,17.99916,0.00205\n"
                                    "P,30.97376,1\n"
                                    "S,31.97207,0.95\nS,32.97146,0.0075\nS,33.96787,0.0425\n";

struct AccuCorCase {
    const char* name;
    const char* tracer;
    double resolvingPower;
    const char* measurements;
    std::vector<std::vector<double>> normalized; // per isotopologue, per sample
};

TEST(AccuCorCase, NormalizedSheetWithAccuCorsIsotopesAndPurity) {
    const AccuCorCase cases[] = {
        {"glucose 6-phosphate",
         "13C",
         100000,
         "Compound,Formula,IsotopeLabel,A12_1,R12_1\n"
         "glucose-6-phosphate,C6H13O9P,C12 PARENT,85751.28,117258.34\n"
         "glucose-6-phosphate,C6H13O9P,C13-label-1,12179.52,20064.35\n"
         "glucose-6-phosphate,C6H13O9P,C13-label-2,345720.09,735962.94\n"
         "glucose-6-phosphate,C6H13O9P,C13-label-3,12830.81,30320.79\n"
         "glucose-6-phosphate,C6H13O9P,C13-label-4,15879.57,30335.86\n"
         "glucose-6-phosphate,C6H13O9P,C13-label-5,0,1034.13\n",
         {{0.1958301169695225, 0.1354002150233933},
          {0, 0},
          {0.7836941697718188, 0.8463645261837339},
          {0, 0},
          {0.02047571325865863, 0.0182352587928728},
          {0, 0},
          {0, 0}}},
        {"glutathione",
         "15N",
         140000,
         "Compound,Formula,IsotopeLabel,N15_10_140k_A,N15_50_140k_A\n"
         "glutathione,C10H17N3O6S,C12 PARENT,712329,142075.8\n"
         "glutathione,C10H17N3O6S,N15-label-1,202086.6,567722.6\n"
         "glutathione,C10H17N3O6S,N15-label-2,27780.2,783997.5\n"
         "glutathione,C10H17N3O6S,N15-label-3,2330.832,364204.6\n",
         {{0.7893780309243054, 0.0760321398200338},
          {0.2106219690756947, 0.3082120525415237},
          {0, 0.4283671584497577},
          {0, 0.1873886491886849}}},
    };
    for (const AccuCorCase& c : cases) {
        SCOPED_TRACE(c.name);
        CorrectionInput input;
        input.measurements = readMeasurements(c.measurements, "accucor.csv");
        input.settings.tracers = c.tracer;
        input.settings.purity = "99+natural";
        input.settings.resolution = HighResolution{c.resolvingPower, 200, Instrument::Orbitrap};
        input.isotopeTable = readIsotopeTable(accuCorIsotopes, "accucor-isotopes.csv");
        const CorrectionResult result = correct(support::shippedTables(), input);
        const std::size_t isotopologues = c.normalized.size();
        ASSERT_EQ(result.rows.size(), 2 * isotopologues);
        for (std::size_t s = 0; s < 2; ++s) {
            for (std::size_t k = 0; k < isotopologues; ++k) {
                const CorrectedRow& row = result.rows[s * isotopologues + k];
                ASSERT_EQ(row.counts.front(), static_cast<int>(k));
                EXPECT_NEAR(row.fraction, c.normalized[k][s], 1e-12) << row.sample << " M+" << k;
            }
        }
    }
}

} // namespace
} // namespace orvane::tracer
