#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/isotope_columns_memo.h"
#include "calc/isotope_engine.h"

namespace orvane::calc {
namespace {

using Formula = std::vector<std::pair<std::string, std::string>>;

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The whole run and the centroid-only run (with `margin` above the tail bound's cut, and
// what `memo` kept from earlier runs) of the formula: N0, W and the centroid must be the same bits, and every entry the centroid-only
// run formed the same as the whole run's.
void expectSameCentroid(support::ShippedTables& shipped, const Formula& formula,
                        std::optional<long long> margin = std::nullopt,
                        IsotopeColumnsMemo* memo = nullptr) {
    const PatternState whole = shipped.pattern(formula);
    const PatternState lean = shipped.pattern(formula, [margin, memo](EngineInput& input) {
        input.centroidOnly = true;
        input.centroidCutMargin = margin.value_or(input.centroidCutMargin);
        input.columnsMemo = memo;
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
    for (const long long margin : {-3LL, -8LL, -1000LL}) {
        SCOPED_TRACE(margin);
        expectSameCentroid(shipped, {{"C", "60"}, {"H", "40"}, {"Cl", "4"}, {"Br", "3"}}, margin);
        expectSameCentroid(
            shipped, {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}}, margin);
    }
}

// The cut lies where the tail is just too small to feel: typical batch formulas keep it
// (their highest formed entry lies below the whole run's) within 20 entries of N0.
TEST(CentroidOnlyEngine, CutsTypicalFormulasCloseAboveTheirPeak) {
    support::ShippedTables shipped;
    const std::vector<Formula> formulas = {
        {{"H", "30"}, {"C", "20"}, {"N", "2"}, {"O", "5"}},
        {{"H", "78"}, {"C", "14"}, {"O", "9"}},
        {{"H", "35"}, {"C", "33"}},
    };
    const auto highest = [](const PatternState& pattern) {
        std::size_t last = 0;
        for (std::size_t i = 0; i < pattern.p.size(); ++i) {
            last = pattern.p[i] != 0.0 ? i : last;
        }
        return static_cast<long long>(last);
    };
    for (const Formula& formula : formulas) {
        SCOPED_TRACE(formula.front().second + " " + formula[1].second);
        const PatternState whole = shipped.pattern(formula);
        const PatternState lean = shipped.pattern(
            formula, [](EngineInput& input) { input.centroidOnly = true; });
        EXPECT_LT(highest(lean), highest(whole));
        EXPECT_LE(highest(lean), lean.n0 + 20);
    }
}

// The first element's steps kept from one run and taken up by the next give the same bits,
// whether the next cuts at the same place, lower (the entries in between then count in
// the tail) or higher (the steps are made again), and a cut too low still falls back when
// the steps come from the memo: there the tail is mostly what lies between the two cuts.
TEST(CentroidOnlyEngine, KeptFirstElementStepsGiveTheSameCentroid) {
    support::ShippedTables shipped;
    IsotopeColumnsMemo memo;
    const struct {
        Formula formula;
        long long margin;
    } runs[] = {
        {{{"H", "30"}, {"C", "20"}, {"O", "5"}}, 0},
        {{{"H", "30"}, {"C", "20"}, {"O", "5"}}, 0},
        {{{"H", "30"}, {"C", "2"}}, 0},
        {{{"H", "30"}, {"C", "90"}, {"N", "9"}, {"O", "30"}}, 0},
        {{{"H", "30"}, {"O", "1"}}, 0},
        {{{"C", "60"}}, 0},
        {{{"C", "60"}}, -8},
        {{{"C", "60"}}, -1000},
        {{{"C", "60"}, {"Cl", "3"}}, 0},
        {{{"Cl", "7"}}, 0},
        {{{"Cl", "7"}}, 0},
    };
    for (std::size_t k = 0; k < std::size(runs); ++k) {
        SCOPED_TRACE(k);
        expectSameCentroid(shipped, runs[k].formula, runs[k].margin, &memo);
    }
}

} // namespace
} // namespace orvane::calc
