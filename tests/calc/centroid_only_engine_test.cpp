#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/isotope_engine.h"

namespace orvane::calc {
namespace {

using Formula = std::vector<std::pair<std::string, std::string>>;

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The whole run and the centroid-only run (with `margin` above the isotopes' spread) of the
// formula: N0, W and the centroid must be the same bits, and every entry the centroid-only
// run formed the same as the whole run's.
void expectSameCentroid(support::ShippedTables& shipped, const Formula& formula,
                        std::optional<long long> margin = std::nullopt) {
    const PatternState whole = shipped.pattern(formula);
    const PatternState lean = shipped.pattern(formula, [margin](EngineInput& input) {
        input.centroidOnly = true;
        input.centroidCutMargin = margin.value_or(input.centroidCutMargin);
    });
    EXPECT_EQ(lean.n0, whole.n0);
    EXPECT_EQ(lean.w, whole.w);
    EXPECT_TRUE(sameDouble(lean.centroid, whole.centroid))
        << lean.centroid << " against " << whole.centroid;
    ASSERT_EQ(lean.p.size(), whole.p.size());
    for (std::size_t i = 0; i < lean.p.size(); ++i) {
        if (lean.p[i] != 0.0) {
            ASSERT_TRUE(sameDouble(lean.p[i], whole.p[i])) << "entry " << i;
        }
    }
}

// Formulas from water to albumin, heavy isotopes of many kinds (Sn, Xe, Hg, Cl, Br), a
// wide window of few atoms, and random small molecules of the elements a batch meets most.
TEST(CentroidOnlyEngine, GivesTheWholeRunsCentroidToTheLastBit) {
    support::ShippedTables shipped;
    std::vector<Formula> formulas = {
        {{"H", "2"}, {"O", "1"}},
        {{"Cl", "2"}},
        {{"C", "6"}, {"H", "12"}, {"O", "6"}},
        {{"C", "30"}, {"H", "5"}, {"N", "5"}, {"O", "12"}},
        {{"C", "2"}, {"H", "3"}, {"Cl", "3"}, {"Br", "4"}, {"Sn", "2"}, {"Hg", "1"}, {"Xe", "3"}},
        {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}},
        {{"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}},
    };
    std::mt19937 random(81208);
    const std::vector<std::pair<std::string, int>> elements = {
        {"C", 60}, {"H", 120}, {"N", 12}, {"O", 25}, {"S", 4}, {"P", 3}, {"Cl", 4}, {"Br", 3}};
    for (int round = 0; round < 60; ++round) {
        Formula formula;
        for (const auto& [symbol, most] : elements) {
            const int count = std::uniform_int_distribution<int>(0, most)(random);
            if (count > 0 && (symbol == "C" || symbol == "H" || random() % 3 == 0)) {
                formula.emplace_back(symbol, std::to_string(count));
            }
        }
        formulas.push_back(formula);
    }
    for (std::size_t f = 0; f < formulas.size(); ++f) {
        SCOPED_TRACE(f);
        expectSameCentroid(shipped, formulas[f]);
    }
}

// A cut far too low leaves a tail that could move the sums: the run must notice and make
// the whole run instead, down to a cut right at the first entry.
TEST(CentroidOnlyEngine, ACutTooLowFallsBackToTheWholeRun) {
    support::ShippedTables shipped;
    for (const long long margin : {4LL, 0LL, -3LL, -1000LL}) {
        SCOPED_TRACE(margin);
        expectSameCentroid(shipped, {{"C", "60"}, {"H", "40"}, {"Cl", "4"}, {"Br", "3"}}, margin);
        expectSameCentroid(
            shipped, {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}}, margin);
    }
}

} // namespace
} // namespace orvane::calc
