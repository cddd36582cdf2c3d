#include "cli/formula_counts.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

const std::vector<std::string> symbols{"H", "He", "C", "N", "O", "Cl", "Br", "S"};

TEST(FormulaCounts, ReadsSymbolsLongestFirstWithOptionalCounts) {
    struct Case {
        const char* formula;
        std::vector<ElementCount> expected;
    };
    const Case cases[] = {
        {"C6H12O6", {{"C", "6"}, {"H", "12"}, {"O", "6"}}},
        {"Cl2", {{"Cl", "2"}}},
        {"C2Br", {{"C", "2"}, {"Br", "1"}}},
        {"C0.3", {{"C", "0.3"}}},
        {"HeH", {{"He", "1"}, {"H", "1"}}},
        {"CH3CH3", {{"C", "2"}, {"H", "6"}}},
        {"C1.5C1.25", {{"C", "2.75"}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const auto counts = parseFormula(c.formula, symbols, '.');
        ASSERT_EQ(counts.size(), c.expected.size());
        for (std::size_t i = 0; i < counts.size(); ++i) {
            EXPECT_EQ(counts[i].symbol, c.expected[i].symbol);
            EXPECT_EQ(counts[i].countText, c.expected[i].countText);
        }
    }
}

TEST(FormulaCounts, WritesFractionsWithTheLocaleSeparator) {
    const auto counts = parseFormula("C2.5", symbols, ',');
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0].countText, "2,5");
}

TEST(FormulaCounts, NamesAnUnknownSymbol) {
    try {
        parseFormula("C6Xy2", symbols, '.');
        FAIL() << "no error";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("'Xy'"), std::string::npos) << error.what();
    }
    EXPECT_THROW(parseFormula("c6", symbols, '.'), std::invalid_argument); // case-sensitive
    EXPECT_THROW(parseFormula("2C", symbols, '.'), std::invalid_argument);
}

} // namespace
} // namespace orvane::cli
