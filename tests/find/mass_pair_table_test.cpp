#include "find/mass_pair_table.h"

#include <set>
#include <tuple>

#include <gtest/gtest.h>

namespace orvane::find {
namespace {

using Pair = std::tuple<long long, long long>;

TEST(MassPairTable, FitsOnlyRangesOfAtMostItsSize) {
    const struct {
        long long firstMinimum, firstMaximum, secondMinimum, secondMaximum;
        bool fits;
    } cases[] = {
        {3, 2, 0, 10, false},      // an empty range
        {0, 10, 5, 4, false},      // an empty range
        {0, 1 << 20, 0, 0, false}, // one pair too many
        {0, 1023, 0, 1024, false}, {0, (1 << 20) - 1, 0, 0, true},
        {0, 1023, 0, 1023, true},  {0, 60, 0, 120, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.firstMaximum) + " " + std::to_string(c.secondMaximum));
        EXPECT_EQ(
            MassPairTable::fits(c.firstMinimum, c.firstMaximum, c.secondMinimum, c.secondMaximum),
            c.fits);
    }
}

TEST(MassPairTable, FindsEveryPairOfAWindowAndNoOther) {
    const double carbon = 12;
    const double hydrogen = 1.00782503207;
    const struct {
        const char* name;
        long long cMin, cMax, hMin, hMax;
        double width; // of the buckets
        double low, high;
    } cases[] = {
        {"below every pair", 1, 60, 0, 120, 0.005, 0, 11.99},
        {"above every pair", 0, 60, 0, 120, 0.005, 900, 901},
        {"one exact pair", 0, 60, 0, 120, 0.005, 12 * 8 + 10 * hydrogen, 12 * 8 + 10 * hydrogen},
        {"a narrow window", 0, 60, 0, 120, 0.002, 250.18, 250.19},
        {"a wide window", 0, 60, 0, 120, 0.002, 100, 180},
        {"wide buckets", 0, 60, 0, 120, 50, 300.1, 300.3},
        {"minima", 10, 20, 5, 8, 0.001, 125.0, 250.0},
        {"the whole table", 0, 5, 0, 5, 0.01, 0, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MassPairTable table(carbon, c.cMin, c.cMax, hydrogen, c.hMin, c.hMax, c.width);
        EXPECT_EQ(table.size(),
                  static_cast<std::size_t>((c.cMax - c.cMin + 1) * (c.hMax - c.hMin + 1)));
        std::set<Pair> expected;
        for (long long a = c.cMin; a <= c.cMax; ++a) {
            for (long long b = c.hMin; b <= c.hMax; ++b) {
                const double mass =
                    static_cast<double>(a) * carbon + static_cast<double>(b) * hydrogen;
                if (mass >= c.low && mass <= c.high) {
                    expected.emplace(a, b);
                }
            }
        }
        std::set<Pair> found;
        std::size_t visits = 0;
        table.forEachIn(c.low, c.high, [&](long long a, long long b, double mass) {
            ++visits;
            found.emplace(a, b);
            EXPECT_EQ(mass, static_cast<double>(a) * carbon + static_cast<double>(b) * hydrogen);
        });
        EXPECT_EQ(found, expected);
        EXPECT_EQ(visits, expected.size());
    }
}

} // namespace
} // namespace orvane::find
