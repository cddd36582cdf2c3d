#pragma once

#include <chrono>

namespace orvane::calc {

// Whether blocks of atom steps are shared with the second thread or taken one step after
// another by the caller alone: whichever has lately taken less time per term. Each block's
// time is measured either way and the chosen way's figure is the time over the terms of
// its recent blocks, so that an odd late block costs the figure what it cost the run (a
// worker held up for a time slice outweighs many quick blocks; a short interruption does
// not); the way not chosen is tried now and then, to keep its figure fresh. A try of sharing
// counts only the block after the first one in which the worker ran a half: a worker that slept
// while the blocks went alone takes tens of microseconds to wake in a VM, longer than a
// block. Sharing pays more the longer the blocks (a hand-over costs the same), so blocks
// twice as long as those on which it last lost try it again at once. On an idle machine a shared
// block takes about 0.6 times as long, and one block in 256 is taken alone to check; on a machine
// busy with other work the worker is often not running when a half is offered (the caller then does
// both halves, and a block does more than single steps), or is put aside in the middle of one and
// holds the caller up for a time slice, so blocks go alone, and sharing is tried again after 16
// blocks, twice as many after each try that lost, up to 1024.
class SharingLedger {
public:
    using Clock = std::chrono::steady_clock;
    enum class Way { Shared, Alone };

    /// Sharing must take at most this share of the time alone to be chosen.
    static constexpr double sharingBound = 0.9;
    static constexpr int aloneTryEvery = 256;
    static constexpr int firstSharedTryEvery = 16;
    static constexpr int mostSharedTryEvery = 1024;
    /// Shared blocks in a row after which sharing is tried soon again once it loses.
    static constexpr int settledSharing = 64;
    /// The most blocks a try of sharing takes to wake the worker; then it measures anyway.
    static constexpr int mostWarmUp = 8;

    /// How the next block is to be taken.
    Way next();
    /// The block taken as next() said formed `terms` terms in `elapsed`; `workerRanAHalf`
    /// whether the worker did one of its halves.
    void took(Way way, long long terms, Clock::duration elapsed, bool workerRanAHalf);
    /// The way chosen at present, for the steps outside blocks.
    bool shares() const { return m_sharing; }

private:
    // Time and terms of a way's recent blocks, each block weighing `recent` less than the
    // one after it.
    struct Figure {
        double nanoseconds = 0;
        double terms = 0; // 0 until measured
        double perTerm() const { return nanoseconds / terms; }
    };
    static constexpr double recent = 1.0 / 16;

    void startTry(Way way);

    Figure m_sharedFigure;
    Figure m_aloneFigure;
    bool m_sharing = true;
    int m_sinceTry = 0;
    int m_sharedTryEvery = firstSharedTryEvery;
    int m_sharedInARow = 0;
    long long m_lostOn = 0; // the terms of the block on which sharing last lost
    Way m_tryWay = Way::Alone;
    bool m_trying = false;
    bool m_warm = false; // the worker has run a half of the try
    int m_warmUpLeft = 0;
};

} // namespace orvane::calc
