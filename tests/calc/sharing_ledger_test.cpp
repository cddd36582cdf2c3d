#include "calc/sharing_ledger.h"

#include <gtest/gtest.h>

// The ledger's decisions from given times: no clock is read.

namespace orvane::calc {
namespace {

using Clock = SharingLedger::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// A worker that keeps up (its half done about when the caller's is) keeps the halves
// shared, and the credit it builds absorbs one that is late by a time slice.
TEST(SharingLedger, AWorkerThatKeepsUpKeepsSharing) {
    SharingLedger ledger;
    Clock::time_point now{};
    for (int half = 0; half < 1000; ++half) {
        now += microseconds(25);
        ledger.ran(microseconds(20), microseconds(5), now);
        ASSERT_TRUE(ledger.shares(now)) << half;
    }
    EXPECT_EQ(ledger.balance(), SharingLedger::credit);
    now += milliseconds(3);
    ledger.ran(microseconds(20), milliseconds(3), now);
    EXPECT_TRUE(ledger.shares(now));
    ledger.missed(now);
    EXPECT_TRUE(ledger.shares(now));
}

// A worker that is never there (each half taken back) sends the halves alone once the
// wake-ups it costs add up to the debt, for the shortest while; then the caller tries
// again, and each further debt sends them alone twice as long, up to the longest while.
TEST(SharingLedger, MissesSendTheHalvesAloneLongerEachTime) {
    SharingLedger ledger;
    Clock::time_point now{};
    const long long missesToDebt = SharingLedger::debt / SharingLedger::wakeUp + 1;
    Clock::duration alone = SharingLedger::shortestAlone;
    for (int debt = 0; debt < 10; ++debt) {
        SCOPED_TRACE(debt);
        for (long long miss = 0; miss < missesToDebt; ++miss) {
            ASSERT_TRUE(ledger.shares(now)) << miss;
            now += microseconds(10);
            ledger.missed(now);
        }
        EXPECT_FALSE(ledger.shares(now));
        EXPECT_FALSE(ledger.shares(now + alone - microseconds(1)));
        now += alone;
        EXPECT_TRUE(ledger.shares(now));
        alone = std::min(2 * alone, SharingLedger::longestAlone);
    }
}

// A worker put aside in the middle of a half holds the caller up by more than sharing has
// won: the halves go alone at once. Sharing that then wins the whole credit again brings
// the while back to the shortest.
TEST(SharingLedger, AHeldUpCallerGoesAloneUntilSharingPaysAgain) {
    SharingLedger ledger;
    Clock::time_point now{};
    ledger.ran(microseconds(20), milliseconds(2), now);
    EXPECT_FALSE(ledger.shares(now));
    now += SharingLedger::shortestAlone;
    ledger.ran(microseconds(20), milliseconds(2), now);
    EXPECT_FALSE(ledger.shares(now + SharingLedger::shortestAlone));
    now += 2 * SharingLedger::shortestAlone;
    ASSERT_TRUE(ledger.shares(now));
    while (ledger.balance() < SharingLedger::credit) {
        now += microseconds(25);
        ledger.ran(microseconds(20), microseconds(2), now);
        ASSERT_TRUE(ledger.shares(now));
    }
    ledger.ran(microseconds(20), SharingLedger::credit + milliseconds(1), now);
    EXPECT_FALSE(ledger.shares(now));
    EXPECT_TRUE(ledger.shares(now + SharingLedger::shortestAlone));
}

// A worker slower than the caller (its half takes more than twice the caller's) loses
// time on every half, 21 us here: the third passes the debt and the halves go alone.
TEST(SharingLedger, ASlowWorkerSendsTheHalvesAlone) {
    SharingLedger ledger;
    Clock::time_point now{};
    int shared = 0;
    while (ledger.shares(now) && shared < 1000) {
        now += microseconds(60);
        ledger.ran(microseconds(20), microseconds(40) + microseconds(1), now);
        ++shared;
    }
    EXPECT_FALSE(ledger.shares(now));
    EXPECT_EQ(shared, 3);
}

} // namespace
} // namespace orvane::calc
