#include "calc/isotope_columns_memo.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/isotope_engine.h"
#include "text/error.h"

namespace orvane::calc {
namespace {

// A run that takes the widths and isotopes kept from earlier runs gives what a run that
// reads the table gives, also after the table changed in between, and a cell that fails
// fails again on every run until it is mended.
TEST(IsotopeColumnsMemo, KeptColumnsGiveWhatTheTableGives) {
    support::ShippedTables shipped;
    using Formula = std::vector<std::pair<std::string, std::string>>;
    const Formula small = {{"C", "20"}, {"H", "30"}, {"O", "2"}};
    const Formula chlorides = {{"C", "2"}, {"Cl", "2"}};
    const struct {
        const char* element; // whose isotope cell is written before the runs, or none
        int field;
        const char* text;
        const Formula& formula;
        bool fails;
    } cases[] = {
        {nullptr, 0, "", small, false},
        {nullptr, 0, "", small, false}, // the columns kept
        {"C", data::FirstAbundanceColumn + 1, "5", small, false},
        {"C", data::WidthColumn, "4", small, false},
        {"Cl", data::FirstAbundanceColumn, "x", chlorides, true},
        {nullptr, 0, "", chlorides, true}, // and fails again
        {"Cl", data::FirstAbundanceColumn, "75.78", chlorides, false},
    };
    IsotopeColumnsMemo memo;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        SCOPED_TRACE(k);
        if (c.element != nullptr) {
            shipped.tables.isotopes.setCell(c.field, shipped.column.at(c.element), c.text);
        }
        std::string errors[2];
        PatternState patterns[2];
        for (const bool kept : {false, true}) {
            try {
                patterns[kept] = shipped.pattern(c.formula, [&](EngineInput& input) {
                    input.columnsMemo = kept ? &memo : nullptr;
                });
            } catch (const text::Error& error) {
                errors[kept] = error.what();
            }
        }
        EXPECT_EQ(!errors[1].empty(), c.fails);
        EXPECT_EQ(errors[1], errors[0]);
        EXPECT_EQ(patterns[1].w, patterns[0].w);
        ASSERT_EQ(patterns[1].p.size(), patterns[0].p.size());
        EXPECT_EQ(std::memcmp(patterns[1].p.data(), patterns[0].p.data(),
                              patterns[0].p.size() * sizeof(double)),
                  0);
    }
}

} // namespace
} // namespace orvane::calc
