#include "find/element_evidence.h"

#include <gtest/gtest.h>

namespace orvane::find {
namespace {

TEST(ElementEvidence, ReadsTheHeavyElementsFromMPlusTwo) {
    const MassTolerance fivePpm{5, false};
    struct Case {
        const char* name;
        measured::Spectrum peaks;
        int charge;
        const char* text;
    };
    // M at 200.0000 (or 100.0000 at 2+); M+1 at +1.00336; the M+2 lines at their shifts
    const Case cases[] = {
        {"nothing at the target", {{150.0, 210.0}, {100, 5}}, 1, "no measured peak at the target"},
        {"no M+2", {{200.0, 201.00336}, {100, 11}}, 1, "no measured M+2: no Cl, Br or S"},
        {"one Cl",
         {{200.0, 201.00336, 201.99705}, {100, 11, 32}},
         1,
         "M+2 at 32.0 % of M, +1.9971 u: Cl or Br likely (about 1 Cl)"},
        {"one Br",
         {{200.0, 201.99795}, {100, 97.3}},
         1,
         "M+2 at 97.3 % of M, +1.9980 u: Cl or Br likely (about 3 Cl, or 1 Br)"},
        {"one S",
         {{200.0, 201.9958}, {100, 4.4}},
         1,
         "M+2 at 4.4 % of M, +1.9958 u: S (or Si) likely, no Cl or Br"},
        {"C10 O5",
         {{200.0, 202.00425, 202.00671}, {100, 1.0, 0.5}},
         1,
         "M+2 at 1.5 % of M, +2.0051 u: carbon and oxygen alone, no Cl or Br"},
        // at 2+ the M+2 lies 1 m/z above, and the shift is read back in u
        {"one Cl at 2+",
         {{100.0, 100.998525}, {100, 32}},
         2,
         "M+2 at 32.0 % of M, +1.9971 u: Cl or Br likely (about 1 Cl)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double target = c.charge == 2 ? 100.0003 : 200.0005;
        const ElementEvidence evidence = elementEvidence(c.peaks, target, c.charge, fivePpm);
        EXPECT_EQ(evidence.text, c.text);
    }
    const ElementEvidence two =
        elementEvidence({{200.0, 201.997, 203.994}, {100, 64, 10}}, 200.0, 1, fivePpm);
    ASSERT_TRUE(two.m4Ratio.has_value());
    EXPECT_NEAR(*two.m4Ratio, 0.10, 1e-12);
    EXPECT_NEAR(*two.m2Ratio, 0.64, 1e-12);
}

} // namespace
} // namespace orvane::find
