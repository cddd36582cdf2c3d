#pragma once

#include <chrono>

namespace orvane::calc {

// What sharing the halves of atom steps with a second thread has won and lost lately, and
// so whether to share the next one. A half the worker ran wins the time the caller's own
// half took less the time the caller then waited for the worker's; a half the worker did
// not take in time loses the wake-up it cost. While the balance stays above a small debt
// the halves are shared (a run on an idle machine starts at 0 and soon holds the whole
// credit, which absorbs an odd late worker); past it the caller does both halves alone for
// a while, twice as long at each debt in a row (a machine busy with other work, where a
// worker that is put aside in the middle of a half holds the caller up for a time slice),
// until sharing has won the whole credit again.
class SharingLedger {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr Clock::duration credit = std::chrono::milliseconds(4);
    static constexpr Clock::duration debt = std::chrono::microseconds(50);
    static constexpr Clock::duration wakeUp = std::chrono::microseconds(2);
    static constexpr Clock::duration shortestAlone = std::chrono::milliseconds(1);
    static constexpr Clock::duration longestAlone = std::chrono::milliseconds(64);

    /// Whether the half due at `now` is offered to the worker.
    bool shares(Clock::time_point now) const { return now >= m_aloneUntil; }
    /// The worker ran a half: the caller's own took `own`, then it waited `waited` (up to
    /// `now`).
    void ran(Clock::duration own, Clock::duration waited, Clock::time_point now);
    /// The worker had not taken the half offered when the caller's own was done at `now`.
    void missed(Clock::time_point now);

    Clock::duration balance() const { return m_balance; }

private:
    void settle(Clock::time_point now);

    Clock::duration m_balance{0};
    Clock::duration m_alone = shortestAlone;
    Clock::time_point m_aloneUntil{};
};

} // namespace orvane::calc
