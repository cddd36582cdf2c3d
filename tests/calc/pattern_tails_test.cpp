#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "calc/pattern_convolution.h"
#include "text/extended.h"

// The atom steps where the pattern's tails hold subnormal doubles, against the plain sweep
// (every slot of every entry of the window, each term stored at once, as the x87 loads and
// stores them): the tails are summed without the x87's subnormal loads and stores, and
// must give the same bits.

namespace orvane::calc {
namespace {

using text::Extended;
using Slots = std::array<IsotopeSlot, PatternConvolution::slotCount>;

// One atom step of the whole window as the steps describe it: every slot, those of
// abundance 0 included.
std::vector<double> plainStep(const std::vector<double>& p, const Slots& slots) {
    Slots ordered = slots;
    // one entry takes its terms from the highest offset down, equal offsets in slot order
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const IsotopeSlot& a, const IsotopeSlot& b) { return a.offset > b.offset; });
    std::vector<double> q(p.size(), 0.0);
    const auto size = static_cast<long long>(p.size());
    for (long long t = 0; t < size; ++t) {
        double sum = 0.0;
        for (const IsotopeSlot& slot : ordered) {
            const long long i = t - slot.offset;
            if (i >= 0 && i < size) {
                sum = static_cast<double>(static_cast<Extended>(sum) +
                                          static_cast<Extended>(p[static_cast<std::size_t>(i)]) *
                                              slot.abundance / 100.0L);
            }
        }
        q[static_cast<std::size_t>(t)] = sum;
    }
    return q;
}

bool sameEntries(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i])) {
            return false;
        }
    }
    return true;
}

// Random isotopes (a tiny first abundance among them, as deuterium's, and now and then a
// negative one) over a start whose ends fall from normal doubles through 2^-1022 into the
// subnormals, so that the steps meet bulk, subnormal and mixed entries at both ends.
TEST(PatternTails, StepsGiveThePlainSweepsBits) {
    std::mt19937 random(20261213);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const bool negative = round % 10 == 9;
        Slots slots{};
        const int isotopes = pick(1, 5);
        double left = 100;
        for (int j = 0; j < isotopes; ++j) {
            const auto slot = static_cast<std::size_t>(j);
            slots[slot].offset = j == 0 ? 0 : pick(1, 4);
            const double share = j + 1 == isotopes ? left
                                 : pick(0, 3) == 0 ? 0.0115
                                                   : left * pick(1, 60) / 100.0;
            slots[slot].abundance = negative && j == 1 ? -share : share;
            left -= share;
        }
        const long long size = 900;
        // the tails summed without subnormal loads and stores, and by the plain loops
        PatternConvolution convolution(size, 0, size - 1);
        convolution.setAvoidsAssists(true);
        PatternConvolution plainLoops(size, 0, size - 1);
        plainLoops.setAvoidsAssists(false);
        std::vector<double> plain(static_cast<std::size_t>(size), 0.0);
        // a plateau whose ends fall, by a few binary orders an entry as a pattern's tails
        // do, from 2^-950 through 2^-1022 to below the smallest subnormal
        const int plateau = pick(20, 200);
        const int tail = pick(10, 120);
        const double fall = 130.0 / tail;
        for (int i = -tail; i < plateau + tail; ++i) {
            const int outside = std::max({-i, i - plateau + 1, 0});
            const double value = outside == 0 ? pick(1, 300000) / 1000.0
                                              : std::ldexp(1.0 + pick(0, 999) / 1000.0,
                                                           -950 - static_cast<int>(fall * outside));
            convolution.setEntry(200 + tail + i, value);
            plainLoops.setEntry(200 + tail + i, value);
            plain[static_cast<std::size_t>(200 + tail + i)] = value;
        }
        convolution.setIsotopes(slots);
        plainLoops.setIsotopes(slots);
        const int steps = pick(5, 40);
        for (int step = 0; step < steps; ++step) {
            convolution.step();
            plainLoops.step();
            plain = plainStep(plain, slots);
            ASSERT_TRUE(sameEntries(convolution.windowValues(), plain)) << "step " << step;
            ASSERT_TRUE(sameEntries(plainLoops.windowValues(), plain)) << "step " << step;
        }
    }
}

} // namespace
} // namespace orvane::calc
