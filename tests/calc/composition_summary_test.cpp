#include "calc/composition_summary.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc_test_support.h"
#include "data/data_tables.h"
#include "text/error.h"

namespace orvane::calc {
namespace {

using support::elementTable;

// Runs the summary and returns the error message, or "" when it went through.
std::string summarise(data::TextGrid& elements, support::Summary& composition, MsDataGrid& msData,
                      int charge = 1, char separator = '.') {
    try {
        support::summarise(elements, charge, separator, composition, msData);
    } catch (const text::Error& error) {
        return error.what();
    }
    return {};
}

// C and Br of the worked example, with H (count 0) between them.
data::TextGrid carbonBromide() {
    return elementTable({{"C", "12.011", "2"}, {"H", "1.008", "0"}, {"Br", "79.904", "1"}});
}

TEST(CompositionSummary, WorkedExample) {
    data::TextGrid elements = carbonBromide();
    support::Summary composition;
    MsDataGrid msData;
    ASSERT_EQ(summarise(elements, composition, msData), "");

    EXPECT_EQ(composition.formulaWeight, 103.92599999999999);
    EXPECT_EQ(composition.weightText, "103.926");
    EXPECT_EQ(composition.fw1Text, "103.926");
    EXPECT_EQ(elements.cell(1, data::PercentRow), "23.11452");
    EXPECT_EQ(elements.cell(2, data::PercentRow), "0.00000");
    EXPECT_EQ(elements.cell(3, data::PercentRow), "76.88548");
    EXPECT_EQ(composition.formulaText, "C2Br1");

    ASSERT_EQ(composition.elements.size(), 2u);
    EXPECT_EQ(composition.elements[0].symbol, "C");
    EXPECT_EQ(composition.elements[0].weight, 12.011);
    EXPECT_EQ(composition.elements[0].count, 2.0);
    EXPECT_EQ(composition.elements[0].column, 1);
    EXPECT_EQ(composition.elements[1].symbol, "Br");
    EXPECT_EQ(composition.elements[1].column, 3);

    const data::TextGrid& grid = composition.workGrid;
    EXPECT_EQ(grid.rowCount(), 3);
    const std::vector<std::string> row2 = {"", "2", "Br", "1", "79.904", "3"};
    for (int column = 0; column < 6; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(grid.cell(column, 2), row2[static_cast<std::size_t>(column)]);
        EXPECT_EQ(grid.cell(column, 0), "");
    }
    EXPECT_EQ(grid.cell(1, 1), "1");
    EXPECT_EQ(grid.cell(3, 1), "2");
}

TEST(CompositionSummary, EditedCellsAreReadAgain) {
    data::TextGrid elements = carbonBromide();
    support::Summary composition;
    MsDataGrid msData;
    ASSERT_EQ(summarise(elements, composition, msData), "");
    elements.setCell(1, data::WeightRow, "12");
    elements.setCell(1, data::CountRow, "3");
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.weightText, "115.904");
    EXPECT_EQ(composition.formulaText, "C3Br1");
    EXPECT_EQ(composition.workGrid.cell(4, 1), "12");
    elements.setCell(2, data::WeightRow, "x");
    EXPECT_EQ(summarise(elements, composition, msData), "'x' は浮動小数点数ではありません");
    EXPECT_EQ(summarise(elements, composition, msData), "'x' は浮動小数点数ではありません");
}

TEST(CompositionSummary, ChargeDividesTheMassAndTheLocaleSeparatorIsUsed) {
    struct Case {
        int charge;
        char separator;
        std::string weightText;
        std::string fw1Text;
        std::string carbonPercent;
    };
    const Case cases[] = {
        {2, '.', "103.926", "51.963", "23.11452"},
        {3, '.', "103.926", "34.642", "23.11452"},
        {2, ',', "103,926", "51,963", "23,11452"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charge);
        data::TextGrid elements = c.separator == ','
                                      ? elementTable({{"C", "12,011", "2"}, {"Br", "79,904", "1"}})
                                      : carbonBromide();
        support::Summary composition;
        MsDataGrid msData;
        ASSERT_EQ(summarise(elements, composition, msData, c.charge, c.separator), "");
        EXPECT_EQ(composition.weightText, c.weightText);
        EXPECT_EQ(composition.fw1Text, c.fw1Text);
        EXPECT_EQ(elements.cell(1, data::PercentRow), c.carbonPercent);
    }
}

TEST(CompositionSummary, AllCountsZeroBlanksTheGridsAndKeepsThePercentages) {
    data::TextGrid elements = elementTable({{"C", "12.011", "0"}, {"Br", "79.904", "0"}});
    elements.setCell(1, data::PercentRow, "previous");
    support::Summary composition;
    composition.formulaText = "old";
    composition.elements.resize(3);
    composition.workGrid.setRowCount(4);
    composition.workGrid.setCell(2, 0, "header");
    MsDataGrid msData;
    msData.refill({0, 300, 0});
    ASSERT_EQ(summarise(elements, composition, msData), "");

    EXPECT_EQ(composition.formulaWeight, 0.0);
    EXPECT_EQ(composition.weightText, "0");
    EXPECT_EQ(composition.fw1Text, "0");
    EXPECT_EQ(elements.cell(1, data::PercentRow), "previous");
    EXPECT_TRUE(composition.elements.empty());
    EXPECT_EQ(composition.formulaText, "");
    EXPECT_EQ(composition.workGrid.rowCount(), 1);
    EXPECT_EQ(composition.workGrid.cell(2, 0), "");
    EXPECT_EQ(msData.rowCount(), 3);
    EXPECT_EQ(msData.cell(1, 1, '.'), "");
}

TEST(CompositionSummary, FractionalCountEntersListWeightAndFormula) {
    data::TextGrid elements = elementTable({{"C", "12.011", "0.3"}, {"O", "15.999", "2.5"}});
    support::Summary composition;
    MsDataGrid msData;
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.formulaText, "C0.3O2.5");
    ASSERT_EQ(composition.elements.size(), 2u);
    EXPECT_EQ(composition.elements[0].count, 0.3);
    // 12.011 * 0.3 + 15.999 * 2.5 = 3.6033 + 39.9975
    EXPECT_EQ(composition.weightText, "43.6008");
    EXPECT_EQ(composition.workGrid.cell(3, 1), "0.3");
}

TEST(CompositionSummary, NegativeCountIsLeftOutButGetsANegativePercentage) {
    data::TextGrid elements = elementTable({{"C", "12.011", "2"}, {"H", "1.008", "-1"}});
    support::Summary composition;
    MsDataGrid msData;
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.formulaWeight, 24.022);
    EXPECT_EQ(composition.formulaText, "C2");
    EXPECT_EQ(composition.elements.size(), 1u);
    EXPECT_EQ(elements.cell(1, data::PercentRow), "100.00000");
    // -100.8 / 24.022 = -4.196153...
    EXPECT_EQ(elements.cell(2, data::PercentRow), "-4.19615");
}

TEST(CompositionSummary, WeightsSummingToZeroBuildTheListThenCutTheGrid) {
    data::TextGrid elements = elementTable({{"A", "5", "1"}, {"B", "-5", "1"}});
    elements.setCell(1, data::PercentRow, "kept");
    support::Summary composition;
    MsDataGrid msData;
    msData.refill({0, 1, 2});
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.formulaWeight, 0.0);
    EXPECT_EQ(composition.elements.size(), 2u);
    EXPECT_EQ(composition.formulaText, "A1B1");
    EXPECT_EQ(composition.workGrid.rowCount(), 1);
    EXPECT_EQ(composition.workGrid.cell(2, 1), "A"); // stored beyond the shown rows
    EXPECT_EQ(composition.workGrid.cell(1, 0), "");
    EXPECT_EQ(elements.cell(1, data::PercentRow), "kept");
    EXPECT_EQ(msData.cell(2, 1, '.'), "");
}

TEST(CompositionSummary, NegativeFormulaWeightTouchesNeitherPercentagesNorGrids) {
    data::TextGrid elements = elementTable({{"X", "-5", "1"}, {"Y", "2", "0"}});
    elements.setCell(2, data::PercentRow, "kept");
    support::Summary composition;
    MsDataGrid msData;
    msData.refill({0, 1, 2});
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.weightText, "-5");
    EXPECT_EQ(elements.cell(2, data::PercentRow), "kept");
    EXPECT_EQ(composition.workGrid.rowCount(), 2);
    EXPECT_EQ(msData.cell(2, 1, '.'), "Calcd");
}

TEST(CompositionSummary, WeightTextIsCutNotRounded) {
    data::TextGrid elements = elementTable({{"X", "123456789.5", "1"}});
    support::Summary composition;
    MsDataGrid msData;
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.weightText, "12345678");
}

TEST(CompositionSummary, FewerElementsShrinkTheWorkingGrid) {
    support::Summary composition;
    MsDataGrid msData;
    data::TextGrid five = elementTable(
        {{"A", "1", "1"}, {"B", "2", "1"}, {"C", "3", "1"}, {"D", "4", "1"}, {"E", "5", "1"}});
    ASSERT_EQ(summarise(five, composition, msData), "");
    EXPECT_EQ(composition.workGrid.rowCount(), 6);
    data::TextGrid two = elementTable({{"A", "1", "1"}, {"B", "2", "0"}, {"C", "3", "4"}});
    ASSERT_EQ(summarise(two, composition, msData), "");
    EXPECT_EQ(composition.workGrid.rowCount(), 3);
    EXPECT_EQ(composition.workGrid.cell(2, 2), "C");
    EXPECT_EQ(composition.workGrid.cell(5, 2), "3");
    EXPECT_EQ(composition.elements.size(), 2u);
}

TEST(CompositionSummary, SymbolsLoseBlanksAndControlCharacters) {
    data::TextGrid elements = elementTable({{" Cl ", "35.45", "2"}, {"\t\x01Na\r", "22.99", "1"}});
    support::Summary composition;
    MsDataGrid msData;
    ASSERT_EQ(summarise(elements, composition, msData), "");
    EXPECT_EQ(composition.formulaText, "Cl2Na1");
    EXPECT_EQ(composition.elements[0].symbol, "Cl");
    EXPECT_EQ(composition.workGrid.cell(2, 2), "Na");
}

TEST(CompositionSummary, ChargeZeroFailsInTheDivision) {
    struct Case {
        std::string count;
        std::string message;
        std::string weightText;
    };
    const Case cases[] = {
        {"2", "0 による浮動小数点数除算", "24.022"},
        {"0", "不正な浮動小数点数演算命令", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        data::TextGrid elements = elementTable({{"C", "12.011", c.count}});
        support::Summary composition;
        composition.fw1Text = "before";
        MsDataGrid msData;
        EXPECT_EQ(summarise(elements, composition, msData, 0), c.message);
        EXPECT_EQ(composition.weightText, c.weightText);
        EXPECT_EQ(composition.fw1Text, "before");
    }
}

TEST(CompositionSummary, BadCellsStopAtTheirStep) {
    struct Case {
        std::vector<support::ElementCells> cells;
        std::string message;
        double formulaWeight;     // the partial sum left behind
        std::string weightText;   // "" when step 3 was not reached
        std::string firstPercent; // row 4 of column 1 afterwards
    };
    const Case cases[] = {
        {{{"C", "12.011", "2"}, {"H", "1.008", "abc"}},
         "'abc' は浮動小数点数ではありません",
         24.022,
         "",
         "0"},
        {{{"C", "12.011", "2"}, {"H", "1.008", ""}},
         "'' は浮動小数点数ではありません",
         24.022,
         "",
         "0"},
        {{{"C", "12.011", "2"}, {"H", "1,008", "1"}},
         "'1,008' は浮動小数点数ではありません",
         24.022,
         "",
         "0"},
        // a sum beyond the double range overflows when it is stored
        {{{"C", "12.011", "2"}, {"X", "1e308", "10"}},
         "浮動小数点数のオーバーフロー",
         24.022,
         "",
         "0"},
        // a weight with count 0 is read only when the percentages are made
        {{{"C", "12.011", "2"}, {"H", "?", "0"}, {"O", "15.999", "1"}},
         "'?' は浮動小数点数ではありません",
         40.021,
         "40.021",
         "60.02349"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        data::TextGrid elements = elementTable(c.cells);
        support::Summary composition;
        MsDataGrid msData;
        EXPECT_EQ(summarise(elements, composition, msData), c.message);
        EXPECT_EQ(composition.formulaWeight, c.formulaWeight);
        EXPECT_EQ(composition.weightText, c.weightText);
        EXPECT_EQ(elements.cell(1, data::PercentRow), c.firstPercent);
        EXPECT_EQ(elements.cell(3, data::PercentRow), c.cells.size() > 2 ? "0" : "");
        EXPECT_EQ(composition.formulaText, "");
    }
}

} // namespace
} // namespace orvane::calc
