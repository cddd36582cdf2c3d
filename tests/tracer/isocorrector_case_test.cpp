// IsoCorrectoR's high-resolution example, glycine of sample 1: a 13C and 15N dual tracer,
// C2N traceable beside a core of C7 corrected at natural abundance, purity 99 % each, every
// isotopologue measured 100. The fractions are IsoCorrectoR 0.1.28's reference output
// (core corrected, purity corrected, ultra-high resolution), whose isotope abundances of C
// and N are those of abundances.txt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

TEST(IsoCorrectoRCase, DualTracerFractionsAgreeWithIsoCorrectoR) {
    std::string measurements = "sample\tmetabolite\tderivative\tisotopologue\tarea\n";
    for (const char* isotopologue : {"0,0", "0,1", "1,0", "1,1", "2,0", "2,1"}) {
        measurements += std::string("Sample1\tGly\tcore\t") + isotopologue + "\t100\n";
    }
    CorrectionSettings settings;
    settings.tracers = "13C,15N";
    settings.purity = "99;99";
    // R 100000 at m/z 400 keeps 13C and 15N 0.0063 u apart in separate peaks
    settings.resolution = HighResolution{100000, 400, Instrument::Orbitrap};
    const CorrectionResult result =
        support::correctTexts(measurements, "name\tformula\tcharge\nGly\tC2N\t1\n", settings,
                              "name\tformula\ncore\tC7\n");
    const std::vector<double> expected{0.176383272813028, 0.178658257064855, 0.157269645148126,
                                       0.15929810261165,  0.163143253668621, 0.16524746869372};
    ASSERT_EQ(result.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(result.rows[i].fraction, expected[i], 1e-9);
    }
    // IsoCorrectoR's mean enrichments of C and N, given to 8 digits
    EXPECT_NEAR(result.rows[0].meanEnrichment.at(0), 0.4866746, 1e-7);
    EXPECT_NEAR(result.rows[0].meanEnrichment.at(1), 0.50320383, 1e-8);
}

} // namespace
} // namespace orvane::tracer
