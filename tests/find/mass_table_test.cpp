#include "find/mass_table.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::find {
namespace {

using Counts = std::vector<long long>;

TEST(MassTable, SizesOnlyTablesItCanHold) {
    const struct {
        const char* name;
        std::vector<CountRange> ranges;
        long long size;
    } cases[] = {
        {"no range", {}, 0},
        {"four ranges", {{1, 0, 1}, {1, 0, 1}, {1, 0, 1}, {1, 0, 1}}, 0},
        {"an empty range", {{12, 3, 2}, {1, 0, 10}}, 0},
        {"one combination too many", {{12, 0, 1 << 20}}, 0},
        {"too many as a product", {{12, 0, 1023}, {1, 0, 1024}}, 0},
        {"as many as it holds", {{12, 0, (1 << 20) - 1}}, 1 << 20},
        {"C0-60 H0-120", {{12, 0, 60}, {1.008, 0, 120}}, 61 * 121},
        {"N0-10 C0-60 H0-120", {{14, 0, 10}, {12, 0, 60}, {1.008, 0, 120}}, 11 * 61 * 121},
        {"minima", {{14, 2, 4}, {12, 10, 20}}, 3 * 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MassTable::sizeOf(c.ranges), c.size);
    }
}

TEST(MassTable, FindsEveryCombinationOfAWindowAndNoOther) {
    const CountRange nitrogen{14.0030740048, 0, 6};
    const CountRange carbon{12, 0, 30};
    const CountRange hydrogen{1.00782503207, 0, 60};
    const struct {
        const char* name;
        std::vector<CountRange> ranges;
        double width; // of the buckets
        double low, high;
    } cases[] = {
        {"below every combination", {{12, 1, 60}, hydrogen}, 0.005, 0, 11.99},
        {"above every combination", {carbon, hydrogen}, 0.005, 900, 901},
        {"one exact pair",
         {carbon, hydrogen},
         0.005,
         12 * 8 + 10 * 1.00782503207,
         12 * 8 + 10 * 1.00782503207},
        {"a narrow window", {carbon, hydrogen}, 0.002, 250.18, 250.19},
        {"a wide window", {carbon, hydrogen}, 0.002, 100, 180},
        {"wide buckets", {carbon, hydrogen}, 50, 300.1, 300.3},
        {"minima", {{12, 10, 20}, {1.00782503207, 5, 8}}, 0.001, 125.0, 250.0},
        {"three elements", {nitrogen, carbon, hydrogen}, 0.003, 194.08, 194.09},
        {"one element", {carbon}, 0.01, 24, 48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MassTable table(c.ranges, c.width);
        EXPECT_EQ(static_cast<long long>(table.size()), MassTable::sizeOf(c.ranges));
        // every combination tried by hand
        std::set<Counts> expected;
        Counts counts(c.ranges.size());
        const auto walk = [&](auto& self, std::size_t i, double mass) -> void {
            if (i == c.ranges.size()) {
                if (mass >= c.low && mass <= c.high) {
                    expected.insert(counts);
                }
                return;
            }
            for (long long n = c.ranges[i].minimum; n <= c.ranges[i].maximum; ++n) {
                counts[i] = n;
                self(self, i + 1, mass + static_cast<double>(n) * c.ranges[i].mass);
            }
        };
        walk(walk, 0, 0.0);
        std::set<Counts> found;
        std::size_t visits = 0;
        table.forEachIn(c.low, c.high, [&](const auto& combination, double) {
            ++visits;
            found.insert(
                Counts(combination.begin(),
                       combination.begin() + static_cast<std::ptrdiff_t>(c.ranges.size())));
        });
        EXPECT_EQ(found, expected);
        EXPECT_EQ(visits, expected.size());
    }
}

} // namespace
} // namespace orvane::find
