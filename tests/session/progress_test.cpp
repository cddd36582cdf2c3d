// The progress of a long calculation counts work, not atoms: half done is about half the
// time also when the first atoms are cheap and the last ones dear.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "session_test_support.h"

namespace orvane::session::testing {
namespace {

using namespace ions;

TEST(EngineProgress, TheEstimatedWorkIsTheWorkDone) {
    // small to large: an ion, insulin, a 5 kDa and a 27 kDa protein, a heavy halogen
    const char* formulas[] = {"C6H12O6Cl2", "C257H383N65O77S6", "C220H350N60O70S2Br3",
                              "C1200H1900N330O360S10"};
    for (const char* formula : formulas) {
        SCOPED_TRACE(formula);
        ShippedSession shipped("H2O");
        std::vector<std::pair<long long, long long>> calls;
        ASSERT_EQ(shipped.session.enterFormula(formula,
                                               [&calls](long long done, long long total) {
                                                   calls.emplace_back(done, total);
                                                   return true;
                                               }),
                  Outcome::Done);
        ASSERT_FALSE(calls.empty());
        const double estimated = static_cast<double>(calls.front().second);
        const double done = static_cast<double>(calls.back().first);
        EXPECT_EQ(calls.back().first, calls.back().second);
        EXPECT_NEAR(estimated / done, 1.0, 0.2);
    }
}

TEST(EngineThreads, OneOrTwoGiveTheSamePatternToTheLastBit) {
    const char* formula = "C1200H1900N330O360S10";
    ShippedSession one("H2O");
    one.session.setEngineThreads(1);
    one.session.enterFormula(formula);
    ShippedSession two("H2O");
    two.session.setEngineThreads(2);
    two.session.enterFormula(formula);
    EXPECT_EQ(one.session.state().pattern.p, two.session.state().pattern.p);
    EXPECT_EQ(one.session.state().pattern.centroid, two.session.state().pattern.centroid);
    EXPECT_EQ(one.session.state().msData.rowCount(), two.session.state().msData.rowCount());
}

} // namespace
} // namespace orvane::session::testing
