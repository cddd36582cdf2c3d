#include "find/composition_prior.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "find/composition_prior_table.h"

namespace orvane::find {
namespace {

double priorOf(const std::vector<std::pair<std::string, long long>>& atoms, double mass) {
    std::vector<AtomTally> tallies;
    for (const auto& [symbol, count] : atoms) {
        tallies.push_back({symbol, count, 2});
    }
    return compositionPrior(tallies, mass);
}

TEST(CompositionPrior, CostsWhatEachElementsCountIsRarerBy) {
    // the commonest counts cost nothing: carbon, hydrogen and oxygen alone at any mass
    for (const double mass : {150.0, 450.0, 800.0, 1500.0}) {
        SCOPED_TRACE(mass);
        EXPECT_EQ(priorOf({{"C", 15}, {"H", 10}, {"O", 6}}, mass), 0);
    }
    // a phosphorus look-alike of a flavone at 302 u costs its N8 and its P
    const double flavone = priorOf({{"C", 15}, {"H", 10}, {"O", 7}}, 302.04);
    const double lookAlike = priorOf({{"C", 10}, {"H", 7}, {"N", 8}, {"O", 1}, {"P", 1}}, 302.04);
    EXPECT_EQ(flavone, 0);
    EXPECT_LT(lookAlike, -6);
    // each element's own cost adds up, by the band of the mass
    const double n8 = priorOf({{"C", 10}, {"N", 8}}, 302.04);
    const double p1 = priorOf({{"C", 10}, {"P", 1}}, 302.04);
    EXPECT_DOUBLE_EQ(lookAlike, n8 + p1);
    EXPECT_EQ(p1, priorElements[1].costs[1][1]);
    // phosphorus is commoner among the lipids of 600-1000 u than among small molecules
    EXPECT_GT(priorOf({{"C", 40}, {"P", 1}}, 750), priorOf({{"C", 10}, {"P", 1}}, 250));
    // counts past an element's last listed one cost what that one does
    EXPECT_EQ(priorOf({{"C", 40}, {"Cl", 9}}, 750), priorOf({{"C", 40}, {"Cl", 4}}, 750));
    // an element the table does not list costs its presence
    EXPECT_EQ(priorOf({{"C", 10}, {"Na", 1}}, 302.04), priorOtherElement[1]);
    EXPECT_LT(priorOtherElement[1], -3);
    EXPECT_EQ(priorOf({{"C", 10}, {"Na", 0}}, 302.04), 0);
}

} // namespace
} // namespace orvane::find
