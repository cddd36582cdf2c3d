#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/isotope_engine.h"
#include "data/abundance_file.h"
#include "data/element_file.h"
#include "support/recording_notifier.h"

namespace orvane::calc {
namespace {

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class CentroidOnlyEngine : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::RecordingNotifier notifier;
        ASSERT_TRUE(data::loadElementFile(ORVANE_SHARE_DIR, tables, notifier));
        data::loadAbundanceFile(ORVANE_SHARE_DIR, tables, notifier);
        for (int c = 1; c < tables.elements.columnCount(); ++c) {
            column[tables.elements.cell(c, data::SymbolRow)] = c;
        }
    }

    // The whole run and the centroid-only run (with `margin` above the isotopes' spread) of
    // the counts: N0, W and the centroid must be the same bits, and every entry the
    // centroid-only run formed the same as the whole run's.
    void expectSameCentroid(const std::map<std::string, std::string>& counts,
                            std::optional<long long> margin = std::nullopt) {
        for (int c = 1; c < tables.elements.columnCount(); ++c) {
            tables.elements.setCell(c, data::CountRow, "0");
        }
        for (const auto& [symbol, count] : counts) {
            tables.elements.setCell(column.at(symbol), data::CountRow, count);
        }
        support::Summary composition;
        MsDataGrid msData;
        support::summarise(tables.elements, 1, '.', composition, msData);
        PatternState patterns[2];
        for (const bool centroidOnly : {false, true}) {
            CellReadings readings;
            std::optional<MsRange> range;
            MsDataGrid grid;
            EngineInput input{composition.elements, tables.isotopes, '.'};
            input.centroidOnly = centroidOnly;
            if (margin) {
                input.centroidCutMargin = *margin;
            }
            patterns[centroidOnly ? 1 : 0] = simulateIsotopePattern(input, readings, grid, range);
        }
        const PatternState& whole = patterns[0];
        const PatternState& lean = patterns[1];
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

    data::DataTables tables;
    std::map<std::string, int> column;
};

// Formulas from water to albumin, heavy isotopes of many kinds (Sn, Xe, Hg, Cl, Br) and a
// wide window of few atoms.
TEST_F(CentroidOnlyEngine, GivesTheWholeRunsCentroidToTheLastBit) {
    const std::vector<std::map<std::string, std::string>> formulas = {
        {{"H", "2"}, {"O", "1"}},
        {{"Cl", "2"}},
        {{"C", "6"}, {"H", "12"}, {"O", "6"}},
        {{"C", "30"}, {"H", "5"}, {"N", "5"}, {"O", "12"}},
        {{"C", "2"}, {"H", "3"}, {"Cl", "3"}, {"Br", "4"}, {"Sn", "2"}, {"Hg", "1"}, {"Xe", "3"}},
        {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}},
        {{"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}},
    };
    for (const auto& formula : formulas) {
        SCOPED_TRACE(formula.begin()->first + formula.begin()->second);
        expectSameCentroid(formula);
    }
}

// Random small molecules of the elements a batch meets most.
TEST_F(CentroidOnlyEngine, RandomFormulasGiveTheSameCentroid) {
    std::mt19937 random(81208);
    const std::vector<std::pair<std::string, int>> elements = {
        {"C", 60}, {"H", 120}, {"N", 12}, {"O", 25}, {"S", 4}, {"P", 3}, {"Cl", 4}, {"Br", 3}};
    for (int round = 0; round < 60; ++round) {
        std::map<std::string, std::string> formula;
        for (const auto& [symbol, most] : elements) {
            const int count = std::uniform_int_distribution<int>(0, most)(random);
            if (count > 0 && (symbol == "C" || symbol == "H" || random() % 3 == 0)) {
                formula[symbol] = std::to_string(count);
            }
        }
        SCOPED_TRACE(round);
        expectSameCentroid(formula);
    }
}

// A cut far too low leaves a tail that could move the sums: the run must notice and make
// the whole run instead, down to a cut right at the first entry.
TEST_F(CentroidOnlyEngine, ACutTooLowFallsBackToTheWholeRun) {
    for (const long long margin : {4LL, 0LL, -3LL, -1000LL}) {
        SCOPED_TRACE(margin);
        expectSameCentroid({{"C", "60"}, {"H", "40"}, {"Cl", "4"}, {"Br", "3"}}, margin);
        expectSameCentroid({{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}},
                           margin);
    }
}

} // namespace
} // namespace orvane::calc
