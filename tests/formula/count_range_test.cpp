#include "formula/count_range.h"

#include <gtest/gtest.h>

#include "data/data_tables.h"
#include "formula/formula_reader.h"
#include "text/error.h"

namespace orvane::formula {
namespace {

// H 1.008, C 12.011 and X, whose weight is no number.
data::TextGrid elementTable() {
    data::TextGrid elements(4, data::DataTables::elementRows);
    const char* const cells[][2] = {{"H", "1.008"}, {"C", "12,011"}, {"X", "heavy"}};
    for (int column = 1; column <= 3; ++column) {
        elements.setCell(column, data::SymbolRow, cells[column - 1][0]);
        elements.setCell(column, data::WeightRow, cells[column - 1][1]);
    }
    return elements;
}

// The refusal, the same whether the weights are read now or were read once beforehand.
std::string refusal(const std::string& formula) {
    const std::vector<std::string> symbols{"", "H", "C", "X"};
    const std::vector<std::optional<double>> weights = countRangeWeights(elementTable(), ',');
    std::string refused[2];
    for (int once = 0; once < 2; ++once) {
        try {
            requireCountsInRange(formula, readFormula(formula, symbols, ','), elementTable(), ',',
                                 once != 0 ? weights : std::vector<std::optional<double>>{});
        } catch (const text::Error& error) {
            refused[once] = error.what();
        }
    }
    EXPECT_EQ(refused[0], refused[1]);
    return refused[0];
}

TEST(CountRange, CountsWhoseMassPassesTheEnginesRangeAreRefused) {
    const struct {
        const char* formula;
        const char* message;
    } cases[] = {
        {"C1000000000", "Formula \"C1000000000\": the count 1000000000 of \"C\" is too large: "
                        "12011000000 u is beyond the masses a pattern can hold (2147483647 u)."},
        {"H2(H1000000000)3", "Formula \"H2(H1000000000)3\": the count 3000000002 of \"H\" is "
                             "too large: 3024000002,016 u is beyond the masses a pattern can "
                             "hold (2147483647 u)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(refusal(c.formula), c.message);
    }
}

TEST(CountRange, CountsWithinTheRangeAndUnreadableWeightsPass) {
    for (const char* formula : {"C178790000", "H2130000000", "X1000000000000", "C6H12"}) {
        SCOPED_TRACE(formula);
        EXPECT_EQ(refusal(formula), "");
    }
}

} // namespace
} // namespace orvane::formula
