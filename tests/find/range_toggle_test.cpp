#include "find/range_toggle.h"

#include <gtest/gtest.h>

namespace orvane::find {
namespace {

TEST(RangeToggle, TakesOutWhatIsThereAndAddsWhatIsNot) {
    const struct {
        const char* ranges;
        const char* symbol;
        const char* toggled;
    } cases[] = {
        {"C0-60 H0-120 Cl0-4", "Cl", "C0-60 H0-120"},
        {"C0-60 Cl0-4 H0-120", "C", "Cl0-4 H0-120"}, // C is not Cl's first letter alone
        {"C0-60 Co0-1", "Co", "C0-60"},
        {"C0-60", "Se", "C0-60 Se0-10"},
        {"  C0-60\tH0-120  ", "N", "C0-60 H0-120 N0-10"},
        {"", "C", "C0-10"},
        {"C2-10H4", "H", "C2-10H4 H0-10"}, // written together: one word, left to the reader
        {"Cl4", "Cl", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ranges) + " / " + c.symbol);
        EXPECT_EQ(toggledElementRange(c.ranges, c.symbol), c.toggled);
    }
    EXPECT_EQ(toggledElementRange("C0-60", "F", "0-6"), "C0-60 F0-6");
}

} // namespace
} // namespace orvane::find
