#include "calc/whole_counts.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/composition_summary.h"

namespace orvane::calc {
namespace {

class WholeCounts : public ::testing::Test {
protected:
    std::vector<std::pair<int, std::string>> countsOf(
        const std::vector<std::pair<std::string, std::string>>& formula) const {
        std::vector<std::pair<int, std::string>> counts;
        for (const auto& [symbol, count] : formula) {
            counts.emplace_back(shipped.column.at(symbol), count);
        }
        return counts;
    }

    support::ShippedTables shipped;
};

// Written into the count row and summarised, or composed without the table: the same
// formula weight to the bit, the same working elements and texts.
TEST_F(WholeCounts, GiveWhatTheSummaryOfTheTableGives) {
    const struct {
        std::vector<std::pair<std::string, std::string>> formula;
        int charge;
    } cases[] = {
        {{{"C", "6"}, {"H", "12"}, {"O", "6"}}, 1},
        {{{"O", "6"}, {"C", "06"}, {"H", "12"}, {"N", "0"}}, 3},
        {{{"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}}, 100},
        {{{"Xe", "3"}, {"Hg", "1"}, {"Cl", "2"}, {"Br", "1"}, {"Sn", "2"}}, 7},
        {{{"C", "169719"}, {"H", "270464"}, {"N", "45688"}, {"O", "52237"}, {"S", "911"}}, 1},
        {{{"H", "1024"}, {"C", "999999999"}}, 2},
    };
    const std::optional<ElementColumns> columns =
        readElementColumns(shipped.tables.elements, '.');
    ASSERT_TRUE(columns);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula.front().first + c.formula.front().second);
        support::Summary table;
        shipped.summarise(c.formula, table, c.charge);

        Composition composed;
        std::string weightText;
        std::string averageMzText;
        std::string formulaText;
        ASSERT_TRUE(composeWholeCounts(countsOf(c.formula), *columns, c.charge, '.', composed,
                                       weightText, averageMzText, formulaText));
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
}

// What only the table's own summary can answer as it does is left to it.
TEST_F(WholeCounts, LeaveToTheSummaryWhatTheyCannotComposeAlike) {
    const std::optional<ElementColumns> columns =
        readElementColumns(shipped.tables.elements, '.');
    ASSERT_TRUE(columns);
    const struct {
        std::vector<std::pair<int, std::string>> counts;
        int charge;
        const char* why;
    } cases[] = {
        {{{6, "1.5"}}, 1, "a decimal count"},
        {{{6, "-2"}}, 1, "a sign"},
        {{{6, "1e3"}}, 1, "an exponent"},
        {{{6, ""}}, 1, "an empty count"},
        {{{6, " 2"}}, 1, "a blank"},
        {{{6, "1000000000"}}, 1, "ten digits"},
        {{{6, "2"}, {6, "3"}}, 1, "a column named twice"},
        {{{0, "2"}}, 1, "column 0"},
        {{{100000, "2"}}, 1, "a column outside the table"},
        {{{6, "0"}, {1, "000"}}, 1, "no atoms"},
        {{}, 1, "nothing"},
        {{{6, "2"}}, 0, "a charge of 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Composition composed;
        composed.formulaWeight = 42;
        std::string weightText = "kept";
        std::string averageMzText;
        std::string formulaText;
        EXPECT_FALSE(composeWholeCounts(c.counts, *columns, c.charge, '.', composed, weightText,
                                        averageMzText, formulaText));
        EXPECT_EQ(composed.formulaWeight, 42);
        EXPECT_EQ(weightText, "kept");
    }

    shipped.tables.elements.setCell(shipped.column.at("Fe"), data::WeightRow, "55,845x");
    EXPECT_FALSE(readElementColumns(shipped.tables.elements, '.'));
}

} // namespace
} // namespace orvane::calc
