#include "accurate/electron_count.h"

#include <gtest/gtest.h>

#include "accurate_test_support.h"

namespace orvane::accurate {
namespace {

using support::columnOf;
using support::shippedTables;

TEST(ElectronCount, UnknownSymbolsAndOverflowLeaveTheCountUnknown) {
    data::DataTables tables = shippedTables();
    const int carbon = columnOf("C");
    tables.elements.setCell(carbon, data::SymbolRow, "X"); // an edited element table
    const struct {
        const data::DataTables* tables;
        std::vector<AtomCount> atoms;
        const char* what;
    } cases[] = {
        {&tables, {{carbon, 1}}, "a made-up symbol"},
        {&shippedTables(), {{columnOf("U"), 1LL << 60}}, "92 x 2^60 overflows"},
        {&shippedTables(),
         {{columnOf("H"), (1LL << 62) + 1}, {columnOf("H"), 1LL << 62}},
         "the sum overflows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(electronCount(c.atoms, *c.tables), std::nullopt);
    }
}

TEST(ElectronCount, AtomicNumberTimesCount) {
    const struct {
        std::vector<std::pair<const char*, long long>> atoms;
        long long electrons;
    } cases[] = {
        {{}, 0},
        {{{"H", 3}}, 3},
        {{{"H", 12}, {"C", 6}, {"O", 6}}, 12 + 36 + 48},
        {{{"U", 2}}, 184},
    };
    for (const auto& c : cases) {
        std::vector<AtomCount> atoms;
        for (const auto& [symbol, count] : c.atoms) {
            atoms.push_back({columnOf(symbol), count});
        }
        SCOPED_TRACE(c.electrons);
        EXPECT_EQ(electronCount(atoms, shippedTables()), c.electrons);
    }
    EXPECT_EQ(atomicNumberOf("Og"), 118);
    EXPECT_EQ(atomicNumberOf("Fe"), 26);
    EXPECT_EQ(atomicNumberOf("fe"), std::nullopt);
    EXPECT_EQ(atomicNumberOf(""), std::nullopt);
}

} // namespace
} // namespace orvane::accurate
