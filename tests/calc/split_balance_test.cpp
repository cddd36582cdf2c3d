#include "calc/split_balance.h"

#include <gtest/gtest.h>

// The balance's lean from half times given by hand: no clock is read.

namespace orvane::calc {
namespace {

using std::chrono::nanoseconds;

// Blocks of 32 steps and 400 entries a step, 1 ns an entry: moving the middle up one entry
// makes the upper half end 64 ns sooner against the lower. Each case's upper half ends that
// much later per entry of imbalance, block after block, as its lean moves towards the middle
// that ends both together.
TEST(SplitBalance, TheLeanMovesTowardsHalvesThatEndTogether) {
    struct Case {
        const char* name;
        double imbalance;  // entries the middle lies too low (negative: too high)
        long long settles; // the lean after many blocks
    };
    const Case cases[] = {
        {"even halves", 0, 0},
        {"a slow upper half", 10, 10},
        {"a slow lower half", -6, -6},
        {"far off: the lean stops at its bound", 1000,
         static_cast<long long>(SplitBalance::mostLean)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitBalance balance;
        const long long entries = 32 * 400;
        for (int block = 0; block < 400; ++block) {
            const double late = 64.0 * (c.imbalance - static_cast<double>(balance.lean()));
            const long long lowerNs = entries / 2 - static_cast<long long>(late / 2);
            balance.took(32, entries, nanoseconds(lowerNs),
                         nanoseconds(static_cast<long long>(late)));
        }
        EXPECT_EQ(balance.lean(), c.settles);
    }
}

// A block in which the worker was held up for a time slice moves the lean by mostMove at
// most, and a few ordinary blocks bring it back.
TEST(SplitBalance, AHeldUpHalfMovesTheLeanLittle) {
    SplitBalance balance;
    balance.took(32, 12800, nanoseconds(6400), nanoseconds(4'000'000));
    EXPECT_EQ(balance.lean(), static_cast<long long>(SplitBalance::mostMove));
    for (int block = 0; block < 20; ++block) {
        const double late = -64.0 * static_cast<double>(balance.lean());
        balance.took(32, 12800, nanoseconds(6400), nanoseconds(static_cast<long long>(late)));
    }
    EXPECT_EQ(balance.lean(), 0);
    // nothing to learn from an empty block
    balance.took(32, 0, nanoseconds(0), nanoseconds(1000));
    balance.took(0, 12800, nanoseconds(6400), nanoseconds(1000));
    EXPECT_EQ(balance.lean(), 0);
}

} // namespace
} // namespace orvane::calc
