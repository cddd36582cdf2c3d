#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_test_support.h"
#include "calc/isotope_engine.h"
#include "calc/pattern_convolution.h"

namespace orvane::calc {
namespace {

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Two threads give the bits, dirty range and terms of one, for random isotopes: every single
// step split however short (negative offsets, zero and negative abundances), and blocks of
// steps shared from a wide start whose ends underflow to 0 and are trimmed within a block,
// where isotopes that forbid sharing (a negative offset or abundance) take single steps. The
// blocks' middles lie where the balance puts them, or moved by hand as far as they go.
TEST(TwoThreadEngine, SharedStepsGiveTheSameBits) {
    std::mt19937 random(20261208);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int sharedBlocks = 0;
    for (int round = 0; round < 44; ++round) {
        SCOPED_TRACE(round);
        const bool blocks = round >= 20;
        const bool negative = !blocks || round % 6 == 5;
        std::array<IsotopeSlot, PatternConvolution::slotCount> slots{};
        for (int j = 0; j < PatternConvolution::slotCount; ++j) {
            const bool used = j == 0 || pick(0, blocks ? 2 : 4) != 0;
            slots[static_cast<std::size_t>(j)] = {j == 0 ? 0 : pick(negative ? -4 : 0, 6),
                                                  used ? pick(negative ? -2 : 0, 9999) / 97.0
                                                       : 0.0};
        }
        const long long length = 6000;
        PatternConvolution one(length, 500, 5500);
        PatternConvolution two(length, 500, 5500);
        two.setThreads(2, 1, true);
        const std::optional<long long> leans[] = {std::nullopt, -100000, -9, 0, 13, 100000};
        two.setSplitLean(leans[round % 6]);
        // one entry, or a wide start whose ends are so small that they soon underflow
        const int width = blocks ? pick(150, 900) : 1;
        for (int i = 0; i < width; ++i) {
            const double value = !blocks                   ? 300.0
                                 : i < 8 || i >= width - 8 ? std::ldexp(1.0, -1060 - pick(0, 10))
                                 : pick(0, 30) == 0        ? 0.0
                                                           : pick(1, 1000000) / 7.0;
            one.setEntry(2000 + i, value);
            two.setEntry(2000 + i, value);
        }
        one.setIsotopes(slots);
        two.setIsotopes(slots);
        const int steps = blocks ? pick(20, 120) : pick(1, 80);
        long long termsOne = 0;
        long long termsTwo = 0;
        for (int step = 0; step < steps; ++step) {
            termsOne += one.step();
        }
        for (int step = 0; step < steps;) {
            const auto [taken, terms] =
                blocks ? two.steps(steps - step) : std::pair<int, long long>{1, two.step()};
            sharedBlocks += taken > 1;
            step += taken;
            termsTwo += terms;
        }
        EXPECT_EQ(termsOne, termsTwo);
        EXPECT_TRUE(sameBits(one.windowValues(), two.windowValues()));
        EXPECT_EQ(one.dirtyFirst(), two.dirtyFirst());
        EXPECT_EQ(one.dirtyLast(), two.dirtyLast());
    }
    EXPECT_GT(sharedBlocks, 20);
}

// The patterns of one and two threads, on each width of lanes the processor has and with
// the tails summed either way, for each formula with the shipped data, compared.
void expectSameOnTwoThreads(
    const std::vector<std::vector<std::pair<std::string, std::string>>>& formulas) {
    support::ShippedTables shipped;
    std::vector<Lanes> lanes = {Lanes::none};
    for (const Lanes wider : {Lanes::four, Lanes::eight}) {
        if (static_cast<int>(wider) <= static_cast<int>(widestLanes())) {
            lanes.push_back(wider);
        }
    }
    for (const auto& formula : formulas) {
        SCOPED_TRACE(formula.front().first + formula.front().second);
        const PatternState plain = shipped.pattern(formula, [](EngineInput& input) {
            input.lanes = Lanes::none;
            input.avoidsAssists = false;
        });
        for (const int threads : {1, 2}) {
            for (const Lanes width : lanes) {
                for (const bool avoids : {false, true}) {
                    SCOPED_TRACE(testing::Message()
                                 << threads << " threads, lanes " << static_cast<int>(width)
                                 << ", avoids " << avoids);
                    const PatternState pattern = shipped.pattern(formula, [&](EngineInput& input) {
                        input.threads = threads;
                        input.minimumSplitTerms = 1;
                        input.blocksWhileAlone = true;
                        input.lanes = width;
                        input.avoidsAssists = avoids;
                    });
                    EXPECT_TRUE(sameBits(plain.p, pattern.p));
                    EXPECT_EQ(std::memcmp(&plain.centroid, &pattern.centroid, sizeof(double)), 0);
                }
            }
        }
    }
}

// Cl2, insulin, albumin, and single heavy elements whose tails (both of them: their
// lightest isotopes are rare too) run through the subnormal range for many entries.
TEST(TwoThreadEngine, ShippedFormulasGiveTheSamePattern) {
    expectSameOnTwoThreads({
        {{"Cl", "2"}},
        {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}},      // insulin
        {{"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}}, // albumin
        {{"Sn", "300"}},
        {{"Xe", "200"}},
        {{"Hg", "40"}, {"Pb", "40"}, {"Cl", "30"}},
    });
}

// A 250 kDa protein: over a thousand blocks of shared steps.
TEST(TwoThreadEngine, LargeProteinGivesTheSamePattern) {
    expectSameOnTwoThreads(
        {{{"C", "11000"}, {"H", "17000"}, {"N", "3000"}, {"O", "3300"}, {"S", "80"}}});
}

// A label of 200 [13C] positions at 99 % beside natural atoms: the label's lighter isotope
// lies below its own, so its steps reach down; one and two threads alike.
TEST(TwoThreadEngine, LabelledFormulaGivesTheSamePattern) {
    support::ShippedTables shipped;
    support::Summary composition;
    shipped.summarise({{"C", "300"}, {"H", "480"}, {"N", "80"}, {"O", "90"}, {"S", "4"}},
                      composition);
    WorkingElement label;
    label.symbol = "[13C]";
    label.weight = 13.00335484;
    label.count = 200;
    label.column = shipped.column.at("C");
    label.labelIsotopes = {{13, 13.00335484, 0.99}, {12, 12.0, 0.01}};
    composition.elements.push_back(label);
    PatternState patterns[2];
    for (const int threads : {1, 2}) {
        CellReadings readings;
        MsDataGrid grid;
        std::optional<MsRange> range;
        EngineInput input{composition.elements, shipped.tables.isotopes, '.'};
        input.threads = threads;
        input.minimumSplitTerms = 1;
        input.blocksWhileAlone = true;
        patterns[threads - 1] = simulateIsotopePattern(input, readings, grid, range);
    }
    ASSERT_TRUE(patterns[0].exists());
    EXPECT_TRUE(sameBits(patterns[0].p, patterns[1].p));
    EXPECT_EQ(std::memcmp(&patterns[0].centroid, &patterns[1].centroid, sizeof(double)), 0);
}

} // namespace
} // namespace orvane::calc
