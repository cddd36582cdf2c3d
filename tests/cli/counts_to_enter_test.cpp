#include "cli/counts_to_enter.h"

#include <gtest/gtest.h>

#include "cli/command_options.h"
#include "formula/count_range.h"
#include "formula/element_symbols.h"
#include "text/error.h"

namespace orvane::cli {
namespace {

// An element table with the given symbols in columns 1, 2, ...
data::TextGrid tableOf(const std::vector<std::string>& symbols) {
    data::TextGrid elements(static_cast<int>(symbols.size()) + 1, 7);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        elements.setCell(static_cast<int>(i) + 1, data::SymbolRow, " " + symbols[i] + " ");
    }
    return elements;
}

const data::TextGrid elements = tableOf({"H", "He", "C", "N", "O", "Cl", "Br", "S"});
const formula::ReaderTables reader{formula::symbolsOf(elements),
                                   {},
                                   {},
                                   {},
                                   formula::SymbolIndex(formula::symbolsOf(elements)),
                                   formula::countRangeWeights(elements, '.')};

TEST(CountsToEnter, RefusesUnknownSymbolsAndMisplacedCounts) {
    for (const char* formula : {"C6Xy2", "c6", "C(", "C6+"}) {
        SCOPED_TRACE(formula);
        EXPECT_THROW(countsToEnter(elements, formula, {}, '.', reader), text::Error);
    }
    try {
        countsToEnter(elements, "C6", {{"Zz", "1"}}, '.', reader);
        FAIL() << "no error";
    } catch (const UsageError& error) {
        EXPECT_NE(std::string(error.what()).find("'Zz'"), std::string::npos) << error.what();
    }
}

TEST(CountsToEnter, ReadsTheFormulaThenEachCountAsItStands) {
    struct Case {
        const char* formula;
        std::vector<std::pair<std::string, std::string>> counts;
        std::vector<session::CountText> expected; // columns in table order, then --count
    };
    const Case cases[] = {
        {"C6H12O6", {}, {{1, "12"}, {3, "6"}, {5, "6"}}},
        {"Cl2", {}, {{6, "2"}}},
        {"C2Br", {}, {{3, "2"}, {7, "1"}}},
        {"C0.3", {}, {{3, "0.3"}}},
        {"HeH", {}, {{1, "1"}, {2, "1"}}},
        {"CH3CH3", {}, {{1, "6"}, {3, "2"}}},
        {"(C1.5)C1.25", {}, {{3, "2.75"}}}, // "C1.5C1.25" would read a hydrate part
        {"2C", {}, {{3, "2"}}},
        {"", {{"S", " 1,5"}}, {{8, " 1,5"}}},
        {"CS", {{"C", "abc"}}, {{3, "1"}, {8, "1"}, {3, "abc"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<session::CountText> counts =
            countsToEnter(elements, c.formula, c.counts, '.', reader).counts;
        ASSERT_EQ(counts.size(), c.expected.size());
        for (std::size_t i = 0; i < counts.size(); ++i) {
            EXPECT_EQ(counts[i].column, c.expected[i].column);
            EXPECT_EQ(counts[i].text, c.expected[i].text);
        }
    }
    const std::vector<session::CountText> comma =
        countsToEnter(elements, "C2,5", {}, ',', reader).counts;
    ASSERT_EQ(comma.size(), 1u);
    EXPECT_EQ(comma[0].text, "2,5");
}

} // namespace
} // namespace orvane::cli
