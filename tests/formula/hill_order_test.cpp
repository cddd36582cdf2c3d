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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hill);
        EXPECT_EQ(hillFormula(c.elements), c.hill);
    }
}

} // namespace
} // namespace orvane::formula
