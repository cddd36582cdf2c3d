#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tracer/correction_settings.h"
#include "tracer/tracer_isotope.h"
#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

using support::errorOf;
using support::shippedTables;

struct PurityCase {
    const char* tracers;
    const char* purity;
    std::vector<std::vector<double>> expected; // per tracer, lightest isotope first
};

TEST(TracerPurity, ReadsAbundancesLightestFirstOrAPercentage) {
    // 18O at 99 %: 16O and 17O share the rest in their natural ratio 99.757 : 0.038
    const double o16 = 0.01 * 99.757 / (99.757 + 0.038);
    const double o17 = 0.01 * 0.038 / (99.757 + 0.038);
    const PurityCase cases[] = {
        {"13C", "", {{0, 1}}},
        {"13C", "0.01,0.99", {{0.01, 0.99}}},
        {"13C", "99", {{0.01, 0.99}}},
        {"13C", "99%", {{0.01, 0.99}}},
        {"13C", "100", {{0, 1}}},
        {"15N", " 0.02 , 0.98 ", {{0.02, 0.98}}},
        {"D", "98", {{0.02, 0.98}}},
        {"18O", "99", {{o16, o17, 0.99}}},
        {"18O", "0.005,0.005,0.99", {{0.005, 0.005, 0.99}}},
        {"13C,15N", "0.01,0.99;98", {{0.01, 0.99}, {0.02, 0.98}}},
        {"13C,15N", "", {{0, 1}, {0, 1}}},
        // the positions that missed the tracer isotope hold the element as found in nature
        {"13C", "99+natural", {{0.01 * 0.9893, 0.99 + 0.01 * 0.0107}}},
        {"13C", "99%+natural", {{0.01 * 0.9893, 0.99 + 0.01 * 0.0107}}},
        {"15N", "99 +natural", {{0.01 * 0.99632, 0.99 + 0.01 * 0.00368}}},
        {"18O", "90+natural", {{0.1 * 0.99757, 0.1 * 0.00038, 0.9 + 0.1 * 0.00205}}},
        {"13C,15N", "100+natural;98", {{0, 1}, {0.02, 0.98}}},
    };
    for (const PurityCase& c : cases) {
        SCOPED_TRACE(std::string(c.tracers) + " " + c.purity);
        const std::vector<Tracer> tracers = readTracers(shippedTables(), c.tracers, c.purity);
        ASSERT_EQ(tracers.size(), c.expected.size());
        for (std::size_t t = 0; t < tracers.size(); ++t) {
            ASSERT_EQ(tracers[t].purity.size(), c.expected[t].size());
            for (std::size_t i = 0; i < c.expected[t].size(); ++i) {
                EXPECT_NEAR(tracers[t].purity[i], c.expected[t][i], 1e-15) << i;
            }
        }
    }
}

TEST(TracerPurity, ShiftsCountFromTheLightestIsotope) {
    struct ShiftCase {
        const char* tracer;
        long long steps;
        std::size_t index;
    };
    // iron's lightest isotope is 54Fe, listed after 56Fe in the tables
    const ShiftCase cases[] = {{"13C", 1, 1}, {"15N", 1, 1},  {"2H", 1, 1},  {"18O", 2, 2},
                               {"34S", 2, 2}, {"57Fe", 3, 2}, {"56Fe", 2, 1}};
    for (const ShiftCase& c : cases) {
        SCOPED_TRACE(c.tracer);
        const Tracer tracer = readTracers(shippedTables(), c.tracer, "").front();
        EXPECT_EQ(tracer.nominalShift(), c.steps);
        EXPECT_EQ(tracer.index, c.index);
        EXPECT_EQ(tracer.isotopes.front().massNumber + c.steps,
                  tracer.isotopes[tracer.index].massNumber);
    }
}

TEST(TracerPurity, RefusesWhatCannotBeAPurityOrATracer) {
    struct RefusalCase {
        const char* tracers;
        const char* purity;
        const char* message;
    };
    const RefusalCase cases[] = {
        {"13C", "0.02,0.99", "the purity '0.02,0.99' of 13C adds up to 1.01, not 1"},
        {"13C", "0.5,0.4", "the purity '0.5,0.4' of 13C adds up to 0.9, not 1"},
        {"13C", "0.01,0.98,0.01",
         "the purity '0.01,0.98,0.01' of 13C needs 2 abundances, one for each of 12C,13C, or "
         "one percentage (99, or 99+natural)"},
        {"13C", "0.01,0.99+natural",
         "the purity '0.01,0.99+natural' of 13C needs 2 abundances, one for each of 12C,13C, "
         "or one percentage (99, or 99+natural)"},
        {"13C", "+natural", "the purity '+natural' holds '+natural', which is not a number"},
        {"13C", "0+natural",
         "the purity 0+natural of 13C is no percentage above 0 and at most 100"},
        {"13C", "-0.01,1.01", "the purity '-0.01,1.01' of 13C holds -0.01, outside 0 to 1"},
        {"13C", "0", "the purity 0 of 13C is no percentage above 0 and at most 100"},
        {"13C", "101", "the purity 101 of 13C is no percentage above 0 and at most 100"},
        {"13C", "pure", "the purity 'pure' holds 'pure', which is not a number"},
        {"13C,15N", "99", "the purity '99' needs one text for each of 2 tracers, separated by ';'"},
        {"C13", "", "the tracer 'C13' is not a mass number and an element, such as 13C"},
        {"13Xx", "", "the tracer '13Xx' names no element of the tables"},
        {"14C", "", "the tracer '14C' is not a natural isotope of C"},
        {"12C", "", "the tracer '12C' is the lightest isotope of C; a tracer must be heavier"},
        {"13C,13C", "", "the tracers '13C,13C' name the element C twice"},
        {"13C,15N,2H", "", "the tracers '13C,15N,2H' are more than two"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(std::string(c.tracers) + " " + c.purity);
        EXPECT_EQ(errorOf([&] { readTracers(shippedTables(), c.tracers, c.purity); }), c.message);
    }
}

TEST(CorrectionLimit, FollowsTheInstrumentsLaw) {
    struct LimitCase {
        Instrument instrument;
        double mass;
        int charge;
        double expected;
    };
    // 70000 at m/z 400: 1.66 FWHM = 1.66 * 400 / 70000 there, whatever the law
    const double atReference = 1.66 * 400 / 70000;
    const LimitCase cases[] = {
        {Instrument::Orbitrap, 400, 1, atReference},
        {Instrument::FtIcr, 400, -1, atReference},
        {Instrument::Constant, 400, 1, atReference},
        {Instrument::Orbitrap, 100, 1, atReference / 8},     // R ∝ (m/z)^-1/2
        {Instrument::FtIcr, 100, 1, atReference / 16},       // R ∝ (m/z)^-1
        {Instrument::Constant, 100, 1, atReference / 4},     // R constant
        {Instrument::Orbitrap, 200, 2, 2 * atReference / 8}, // m/z 100, times the charge
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(std::string(instrumentName(c.instrument)) + " " + std::to_string(c.mass));
        EXPECT_NEAR(correctionLimit({70000, 400, c.instrument}, c.mass, c.charge), c.expected,
                    1e-15);
    }
    EXPECT_EQ(instrumentNamed("Orbitrap"), Instrument::Orbitrap);
    EXPECT_EQ(instrumentNamed("FT-ICR"), Instrument::FtIcr);
    EXPECT_EQ(instrumentNamed("ftcr"), Instrument::FtIcr);
    EXPECT_EQ(instrumentNamed("constant"), Instrument::Constant);
    EXPECT_EQ(instrumentNamed("qtof"), std::nullopt);
}

} // namespace
} // namespace orvane::tracer
