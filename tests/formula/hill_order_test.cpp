#include "formula/hill_order.h"

#include <gtest/gtest.h>

namespace orvane::formula {
namespace {

TEST(HillOrder, CarbonFirstThenHydrogenThenTheAlphabet) {
    const struct {
        std::vector<SymbolCount> elements;
        const char* hill;
    } cases[] = {
        {{{"H", "10"}, {"C", "8"}, {"O", "2"}, {"N", "4"}}, "C8H10N4O2"},
        {{{"Cl", "3"}, {"Fe", "1"}}, "Cl3Fe"},
        {{{"O", "1"}, {"H", "2"}}, "H2O"}, // without carbon, H takes its alphabetical place
        {{{"S", "1"}, {"Br", "1"}, {"C", "2.5"}}, "C2.5BrS"},
        {{}, ""},
        // a label follows its element; labelled carbon alone still puts C first
        {{{"H", "12"}, {"[13C]", "6"}, {"O", "6"}}, "[13C]6H12O6"},
        {{{"[13C]", "1"}, {"H", "12"}, {"C", "5"}, {"O", "6"}}, "C5[13C]H12O6"},
        {{{"O", "1"}, {"[2H]", "2"}}, "[2H]2O"},
        {{{"[13C]{99%}", "2"}, {"[13C]", "1"}, {"[12C]", "1"}}, "[12C][13C][13C]{99%}2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hill);
        EXPECT_EQ(hillFormula(c.elements), c.hill);
    }
}

} // namespace
} // namespace orvane::formula
