#include "calc/isotope_columns_memo.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/isotope_engine.h"
#include "data/data_tables.h"
#include "text/error.h"

namespace orvane::calc {
namespace {

using Formula = std::vector<std::pair<std::string, std::string>>;

// The pattern of `formula` from the tables as they are now, or the error text.
struct Outcome {
    std::optional<PatternState> pattern;
    std::string error;
};

Outcome run(support::ShippedTables& shipped, const Formula& formula, IsotopeColumnsMemo* memo) {
    support::Summary composition;
    shipped.summarise(formula, composition);
    CellReadings readings;
    std::optional<MsRange> range;
    MsDataGrid grid;
    EngineInput input{composition.elements, shipped.tables.isotopes, '.'};
    input.columnsMemo = memo;
    Outcome result;
    try {
        result.pattern = simulateIsotopePattern(input, readings, grid, range);
    } catch (const text::Error& error) {
        result.error = error.what();
    }
    return result;
}

void expectSame(const Outcome& a, const Outcome& b) {
    ASSERT_EQ(a.error, b.error);
    ASSERT_EQ(a.pattern.has_value(), b.pattern.has_value());
    if (a.pattern) {
        EXPECT_EQ(a.pattern->n0, b.pattern->n0);
        EXPECT_EQ(a.pattern->w, b.pattern->w);
        ASSERT_EQ(a.pattern->p.size(), b.pattern->p.size());
        EXPECT_EQ(std::memcmp(a.pattern->p.data(), b.pattern->p.data(),
                              a.pattern->p.size() * sizeof(double)),
                  0);
    }
}

// A run that takes the widths and isotopes kept from earlier runs gives what a run that
// reads the table gives, also after the table changed in between, and a cell that fails
// fails again on every run until it is mended.
TEST(IsotopeColumnsMemo, KeptColumnsGiveWhatTheTableGives) {
    support::ShippedTables shipped;
    const int carbon = shipped.column.at("C");
    const int chlorine = shipped.column.at("Cl");
    const std::string carbon13 =
        shipped.tables.isotopes.cell(data::FirstAbundanceColumn + 1, carbon);
    const struct Case {
        const char* what;
        void (*change)(data::DataTables&, int carbon, int chlorine, const std::string& carbon13);
        Formula formula;
        bool fails;
    } cases[] = {
        {"first run",
         [](data::DataTables&, int, int, const std::string&) {},
         {{"C", "6"}, {"H", "12"}, {"O", "6"}},
         false},
        {"the same columns again",
         [](data::DataTables&, int, int, const std::string&) {},
         {{"C", "20"}, {"H", "30"}, {"O", "2"}},
         false},
        {"carbon-13 raised",
         [](data::DataTables& t, int c, int, const std::string&) {
             t.isotopes.setCell(data::FirstAbundanceColumn + 1, c, "5");
         },
         {{"C", "20"}, {"H", "30"}, {"O", "2"}},
         false},
        {"a wider carbon window",
         [](data::DataTables& t, int c, int, const std::string&) {
             t.isotopes.setCell(data::WidthColumn, c, "4");
         },
         {{"C", "20"}, {"H", "30"}},
         false},
        {"a chlorine abundance that is no number",
         [](data::DataTables& t, int, int cl, const std::string&) {
             t.isotopes.setCell(data::FirstAbundanceColumn, cl, "x");
         },
         {{"C", "2"}, {"Cl", "2"}},
         true},
        {"and fails again",
         [](data::DataTables&, int, int, const std::string&) {},
         {{"C", "2"}, {"Cl", "2"}},
         true},
        {"mended",
         [](data::DataTables& t, int, int cl, const std::string&) {
             t.isotopes.setCell(data::FirstAbundanceColumn, cl, "75.78");
         },
         {{"C", "2"}, {"Cl", "2"}},
         false},
        {"carbon put back",
         [](data::DataTables& t, int c, int, const std::string& c13) {
             t.isotopes.setCell(data::FirstAbundanceColumn + 1, c, c13);
         },
         {{"C", "6"}, {"H", "12"}, {"O", "6"}},
         false},
    };
    IsotopeColumnsMemo memo;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change(shipped.tables, carbon, chlorine, carbon13);
        const Outcome kept = run(shipped, c.formula, &memo);
        const Outcome read = run(shipped, c.formula, nullptr);
        EXPECT_EQ(!kept.error.empty(), c.fails);
        expectSame(kept, read);
    }
}

} // namespace
} // namespace orvane::calc
