#include "calc/whole_counts.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"

namespace orvane::calc {
namespace {

// Written into the count row and summarised, or composed without the table: the same
// formula weight to the bit, the same working elements and texts; and what only the
// table's own summary can answer as it does is left to it, with nothing written.
TEST(WholeCounts, GiveWhatTheSummaryGivesOrLeaveItToTheSummary) {
    support::ShippedTables shipped;
    const std::optional<ElementColumns> columns = readElementColumns(shipped.tables.elements, '.');
    ASSERT_TRUE(columns);
    const struct {
        std::vector<std::pair<std::string, std::string>> formula;
        int charge;
        bool composed;
    } cases[] = {
        {{{"C", "6"}, {"H", "12"}, {"O", "6"}}, 1, true},
        {{{"O", "6"}, {"C", "06"}, {"H", "12"}, {"N", "0"}}, 3, true},
        {{{"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}}, 100, true},
        {{{"Xe", "3"}, {"Hg", "1"}, {"Cl", "2"}, {"Br", "1"}, {"Sn", "2"}}, 7, true},
        {{{"H", "1024"}, {"C", "999999999"}}, 2, true},
        {{{"C", "1.5"}}, 1, false}, // a decimal count
        {{{"C", "-2"}}, 1, false},  // a sign
        {{{"C", "1e3"}}, 1, false}, // an exponent
        {{{"C", " 2"}}, 1, false},  // a blank
        {{{"C", ""}}, 1, false},
        {{{"C", "1000000000"}}, 1, false}, // ten digits
        {{{"C", "2"}, {"C", "3"}}, 1, false},
        {{{"C", "0"}, {"H", "000"}}, 1, false},
        {{{"C", "2"}}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula.front().first + c.formula.front().second);
        std::vector<std::pair<int, std::string>> counts;
        for (const auto& [symbol, count] : c.formula) {
            counts.emplace_back(shipped.column.at(symbol), count);
        }
        Composition composed;
        composed.formulaWeight = 42;
        std::string weightText = "kept";
        std::string averageMzText;
        std::string formulaText;
        ASSERT_EQ(composeWholeCounts(counts, *columns, c.charge, '.', composed, weightText,
                                     averageMzText, formulaText),
                  c.composed);
        if (!c.composed) {
            EXPECT_EQ(composed.formulaWeight, 42);
            EXPECT_EQ(weightText, "kept");
            continue;
        }
        support::Summary table;
        shipped.summarise(c.formula, table, c.charge);
        EXPECT_EQ(std::memcmp(&composed.formulaWeight, &table.formulaWeight, sizeof(double)), 0);
        EXPECT_EQ(weightText, table.weightText);
        EXPECT_EQ(averageMzText, table.fw1Text);
        EXPECT_EQ(formulaText, table.formulaText);
        ASSERT_EQ(composed.elements.size(), table.elements.size());
        for (std::size_t i = 0; i < composed.elements.size(); ++i) {
            EXPECT_EQ(composed.elements[i].symbol, table.elements[i].symbol);
            EXPECT_EQ(composed.elements[i].weight, table.elements[i].weight);
            EXPECT_EQ(composed.elements[i].count, table.elements[i].count);
            EXPECT_EQ(composed.elements[i].column, table.elements[i].column);
        }
    }
    // columns outside the table, and no counts at all
    for (const std::vector<std::pair<int, std::string>>& counts :
         {std::vector<std::pair<int, std::string>>{{0, "2"}}, {{100000, "2"}}, {}}) {
        Composition composed;
        std::string texts[3];
        EXPECT_FALSE(
            composeWholeCounts(counts, *columns, 1, '.', composed, texts[0], texts[1], texts[2]));
    }
    shipped.tables.elements.setCell(shipped.column.at("Fe"), data::WeightRow, "55,845x");
    EXPECT_FALSE(readElementColumns(shipped.tables.elements, '.'));
}

} // namespace
} // namespace orvane::calc
