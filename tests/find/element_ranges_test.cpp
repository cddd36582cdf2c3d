#include "find/element_ranges.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "accurate/accurate_test_support.h"
#include "formula/element_symbols.h"

namespace orvane::find {
namespace {

using accurate::support::columnOf;
using accurate::support::errorOf;
using accurate::support::shippedTables;

std::vector<std::string> symbols() {
    return formula::symbolsOf(shippedTables().elements);
}

TEST(ElementRanges, RefusalsNameThePosition) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "Element ranges \"\": no element is given."},
        {"   ", "Element ranges \"   \": no element is given."},
        {"c0-4", "Element ranges \"c0-4\": an element symbol is expected at position 1."},
        {"C0-4 Xx1", "Element ranges \"C0-4 Xx1\": an element symbol is expected at position 6."},
        {"C0-4 H", "Element ranges \"C0-4 H\": a count is expected at position 7."},
        {"C0-", "Element ranges \"C0-\": a largest count is expected at position 4."},
        {"C-4", "Element ranges \"C-4\": a count is expected at position 2."},
        {"C4-2",
         "Element ranges \"C4-2\": the largest count of C at position 4 is below its smallest."},
        {"C0-1.5", "Element ranges \"C0-1.5\": the count at position 4 is not whole."},
        {"C0-1000000", "Element ranges \"C0-1000000\": the count at position 4 is above 999999."},
        {"C0-4 H0-2 C1",
         "Element ranges \"C0-4 H0-2 C1\": C at position 11 is given a second time."},
        {"C0-4,H0-2", "Element ranges \"C0-4,H0-2\": an element symbol is expected at position 5."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(errorOf([&] { readElementRanges(c.text, symbols()); }), c.message);
    }
}

TEST(ElementRanges, ReadsRangesExactCountsAndTwoLetterSymbols) {
    const struct {
        const char* text;
        std::vector<ElementRange> expected;
    } cases[] = {
        {"C0-60 H0-120", {{columnOf("C"), "C", 0, 60}, {columnOf("H"), "H", 0, 120}}},
        {"C2-10H4Cl0-2",
         {{columnOf("C"), "C", 2, 10}, {columnOf("H"), "H", 4, 4}, {columnOf("Cl"), "Cl", 0, 2}}},
        {"  Co1 Br3-3 ", {{columnOf("Co"), "Co", 1, 1}, {columnOf("Br"), "Br", 3, 3}}},
        {"U0-999999", {{columnOf("U"), "U", 0, 999999}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<ElementRange> read = readElementRanges(c.text, symbols());
        ASSERT_EQ(read.size(), c.expected.size());
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].column, c.expected[i].column);
            EXPECT_EQ(read[i].symbol, c.expected[i].symbol);
            EXPECT_EQ(read[i].minimum, c.expected[i].minimum);
            EXPECT_EQ(read[i].maximum, c.expected[i].maximum);
        }
    }
}

TEST(ElementRanges, TheDefaultReadsWithTheShippedTable) {
    const std::vector<ElementRange> read = readElementRanges(defaultElementRanges, symbols());
    std::string written;
    for (const ElementRange& range : read) {
        written += (written.empty() ? "" : " ") + range.symbol + std::to_string(range.minimum) +
                   "-" + std::to_string(range.maximum);
    }
    EXPECT_EQ(written, defaultElementRanges);
}

} // namespace
} // namespace orvane::find
