#include "calc/sharing_ledger.h"

#include <gtest/gtest.h>

// The ledger's choices from block times given by hand: no clock is read.

namespace orvane::calc {
namespace {

using Way = SharingLedger::Way;
using std::chrono::microseconds;

// A machine on which a block of 10,000 terms takes `shared` shared and `alone` alone.
struct Machine {
    microseconds shared;
    microseconds alone;
};

// Takes `blocks` blocks as the ledger says on that machine; returns how many were shared.
int takeBlocks(SharingLedger& ledger, const Machine& machine, int blocks) {
    int shared = 0;
    for (int block = 0; block < blocks; ++block) {
        const Way way = ledger.next();
        shared += way == Way::Shared;
        ledger.took(way, 10000, way == Way::Shared ? machine.shared : machine.alone, true);
    }
    return shared;
}

const Machine idle{microseconds(8), microseconds(13)};
const Machine busy{microseconds(16), microseconds(13)};

// Each way is measured once (sharing after a block that wakes the worker), then an idle
// machine's blocks are shared, but for one block in every aloneTryEvery.
TEST(SharingLedger, AnIdleMachineSharesTheBlocks) {
    SharingLedger ledger;
    EXPECT_EQ(ledger.next(), Way::Alone);
    ledger.took(Way::Alone, 10000, idle.alone, false);
    for (int block = 0; block < 2; ++block) {
        EXPECT_EQ(ledger.next(), Way::Shared);
        ledger.took(Way::Shared, 10000, idle.shared, true);
    }
    EXPECT_TRUE(ledger.shares());
    const int blocks = 100 * SharingLedger::aloneTryEvery;
    EXPECT_EQ(takeBlocks(ledger, idle, blocks), blocks - 100);
    EXPECT_TRUE(ledger.shares());
}

// On a busy machine sharing loses: the blocks go alone, and sharing is tried after
// firstSharedTryEvery blocks, then after twice as many each time, up to
// mostSharedTryEvery; a try's first block, which wakes the worker, is not counted, however
// slow it is.
TEST(SharingLedger, ABusyMachineTakesTheBlocksAloneAndTriesSharingLessAndLessOften) {
    SharingLedger ledger;
    takeBlocks(ledger, busy, 3);
    EXPECT_FALSE(ledger.shares());
    int every = SharingLedger::firstSharedTryEvery;
    for (int trial = 0; trial < 10; ++trial) {
        SCOPED_TRACE(trial);
        for (int block = 1; block < every; ++block) {
            ASSERT_EQ(ledger.next(), Way::Alone) << block;
            ledger.took(Way::Alone, 10000, busy.alone, false);
        }
        ASSERT_EQ(ledger.next(), Way::Shared);
        ledger.took(Way::Shared, 10000, microseconds(5000), true);
        ASSERT_EQ(ledger.next(), Way::Shared);
        ledger.took(Way::Shared, 10000, busy.shared, true);
        EXPECT_FALSE(ledger.shares());
        every = std::min(2 * every, SharingLedger::mostSharedTryEvery);
    }
}

// A shared block held up by a worker put aside for a time slice sends the blocks alone at
// once; when the machine is idle again the next try of sharing wins and the blocks are
// shared again.
TEST(SharingLedger, AHeldUpBlockSendsTheBlocksAloneUntilATryOfSharingWins) {
    SharingLedger ledger;
    takeBlocks(ledger, idle, 100);
    ASSERT_TRUE(ledger.shares());
    const Way way = ledger.next();
    ASSERT_EQ(way, Way::Shared);
    ledger.took(way, 10000, microseconds(3000), true);
    EXPECT_FALSE(ledger.shares());
    EXPECT_EQ(takeBlocks(ledger, idle, SharingLedger::firstSharedTryEvery + 1), 2);
    EXPECT_TRUE(ledger.shares());
    EXPECT_EQ(takeBlocks(ledger, idle, 100), 100);
}

// A try of sharing measures the block after the first one in which the worker ran a half (a worker
// that slept takes longer to wake than a block), or the last of mostWarmUp blocks.
TEST(SharingLedger, ATryOfSharingWaitsForTheWorkerToWake) {
    SharingLedger ledger;
    takeBlocks(ledger, busy, 3);
    ASSERT_FALSE(ledger.shares());
    for (int block = 1; block < SharingLedger::firstSharedTryEvery; ++block) {
        ASSERT_EQ(ledger.next(), Way::Alone);
        ledger.took(Way::Alone, 10000, idle.alone, false);
    }
    // the worker wakes after three blocks done alone by the caller, slower than alone
    for (int block = 0; block < 3; ++block) {
        ASSERT_EQ(ledger.next(), Way::Shared);
        ledger.took(Way::Shared, 10000, microseconds(15), false);
    }
    ASSERT_EQ(ledger.next(), Way::Shared);
    ledger.took(Way::Shared, 10000, microseconds(9), true);
    EXPECT_FALSE(ledger.shares());
    ASSERT_EQ(ledger.next(), Way::Shared);
    ledger.took(Way::Shared, 10000, idle.shared, true);
    EXPECT_TRUE(ledger.shares());

    // a worker that never wakes: the try ends after mostWarmUp blocks, lost
    SharingLedger asleep;
    takeBlocks(asleep, busy, 3);
    for (int block = 1; block < SharingLedger::firstSharedTryEvery; ++block) {
        asleep.took(asleep.next(), 10000, busy.alone, false);
    }
    for (int block = 0; block < SharingLedger::mostWarmUp; ++block) {
        ASSERT_EQ(asleep.next(), Way::Shared) << block;
        asleep.took(Way::Shared, 10000, microseconds(15), false);
    }
    EXPECT_EQ(asleep.next(), Way::Alone);
    EXPECT_FALSE(asleep.shares());
}

// Sharing that saves less than the bound (a worker little quicker than nothing) is not
// chosen: two threads must not cost more than one.
TEST(SharingLedger, SharingThatSavesTooLittleIsNotChosen) {
    SharingLedger ledger;
    const Machine close{microseconds(12), microseconds(13)};
    takeBlocks(ledger, close, 3);
    EXPECT_FALSE(ledger.shares());
    const Machine enough{microseconds(11), microseconds(13)};
    takeBlocks(ledger, enough, SharingLedger::mostSharedTryEvery);
    EXPECT_TRUE(ledger.shares());
}

} // namespace
} // namespace orvane::calc
