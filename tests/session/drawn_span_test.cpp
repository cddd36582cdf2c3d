#include <string>

#include <gtest/gtest.h>

#include "session/session_test_support.h"

namespace orvane::session {
namespace {

using namespace ions;

using testing::ShippedSession;

// With the shipped data: formulas whose significant points lie in N0 +- s keep that span;
// others get one around the centroid that holds every significant point, and the export
// follows it. The automatic frame holds every significant stick, at FW - C + i: small
// molecules keep the frame over the span, large ones have it moved by whole steps onto
// their sticks (albumin's would otherwise lose a third of its envelope).
TEST(DrawnSpan, EverySignificantPeakIsDrawnAndExported) {
    const struct {
        const char* formula;
        long long first, last;
        long long shift; // of the frame, in whole steps
    } cases[] = {
        {"C6H12O6", 180 - 5, 180 + 5, 0}, // N0 +- s, as always
        {"Cl2", 69, 75, 0},
        {"C2934H4615N781O897S39", 66408, 66540, -41}, // albumin
        {"C20000", 240434 - 139, 240434 + 139, -214}, // one element, 214 steps off
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const ShippedSession shipped(c.formula);
        const SessionState& state = shipped.session.state();
        EXPECT_EQ(state.plotState.spanFirst, c.first);
        EXPECT_EQ(state.plotState.spanLast, c.last);
        EXPECT_EQ(state.plotState.frameShift, c.shift);
        EXPECT_EQ(state.texts.lowerMzText, std::to_string(c.first + c.shift));
        EXPECT_EQ(state.texts.upperMzText, std::to_string(c.last + c.shift));
        const calc::PatternState& pattern = state.pattern;
        const double offset = state.composition.formulaWeight - pattern.centroid;
        for (long long i = pattern.n0 - pattern.w; i <= pattern.n0 + pattern.w; ++i) {
            if (pattern.at(i) > 0.001) {
                ASSERT_GE(i, c.first);
                ASSERT_LE(i, c.last);
                ASSERT_GE(offset + static_cast<double>(i), state.plotState.xmin) << i;
                ASSERT_LE(offset + static_cast<double>(i), state.plotState.xmax) << i;
            }
        }
    }
}

} // namespace
} // namespace orvane::session
