#include <string>

#include <gtest/gtest.h>

#include "session/session_test_support.h"

namespace orvane::session {
namespace {

using testing::ShippedSession;

// With the shipped data: formulas whose significant points lie in N0 +- s keep that span;
// others get one around the centroid that holds every significant point, and the
// automatic range and the export follow it.
TEST(DrawnSpan, EverySignificantPeakIsDrawnAndExported) {
    const struct {
        const char* formula;
        long long first, last;
    } cases[] = {
        {"C6H12O6", 180 - 5, 180 + 5}, // N0 +- s, as always
        {"Cl2", 69, 75},
        {"C2934H4615N781O897S39", 66408, 66540}, // albumin
        {"C100000", 1202170 - 312, 1202170 + 312},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const ShippedSession shipped(c.formula);
        const SessionState& state = shipped.session.state();
        EXPECT_EQ(state.plotState.spanFirst, c.first);
        EXPECT_EQ(state.plotState.spanLast, c.last);
        EXPECT_EQ(state.texts.lowerMzText, std::to_string(c.first));
        EXPECT_EQ(state.texts.upperMzText, std::to_string(c.last));
        const calc::PatternState& pattern = state.pattern;
        for (long long i = pattern.n0 - pattern.w; i <= pattern.n0 + pattern.w; ++i) {
            if (pattern.at(i) > 0.001) {
                ASSERT_GE(i, c.first);
                ASSERT_LE(i, c.last);
            }
        }
    }
}

} // namespace
} // namespace orvane::session
