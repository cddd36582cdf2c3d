#include "calc/split_worker.h"

#include <atomic>
#include <semaphore>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace orvane::calc {
namespace {

// Waits, spinning, until `flag` is raised by the other half.
void waitFor(const std::atomic<bool>& flag) {
    while (!flag.load()) {
        std::this_thread::yield();
    }
}

const SplitWorker::SpinTimes noSpinning{std::chrono::nanoseconds(0), std::chrono::nanoseconds(0)};

// Both halves run, many times over one worker, whichever thread runs `there`; a failure on
// either side comes out of runBoth (the worker's half first) and the worker goes on.
TEST(SplitWorker, RunsBothHalvesAndPassesOnTheirFailures) {
    for (const SplitWorker::SpinTimes spins : {SplitWorker::SpinTimes{}, noSpinning}) {
        SplitWorker worker(spins);
        const char* const raisedFor[] = {"", "there", "here", "there"}; // by the failing sides
        for (int round = 0; round < 2000; ++round) {
            const bool thereFails = round % 4 == 1 || round % 4 == 3;
            const bool hereFails = round % 4 >= 2;
            int there = -1;
            int here = -1;
            std::string raised;
            try {
                worker.runBoth(
                    [&] {
                        there = round;
                        if (thereFails) {
                            throw std::runtime_error("there");
                        }
                    },
                    [&] {
                        here = round;
                        if (hereFails) {
                            throw std::runtime_error("here");
                        }
                    });
            } catch (const std::runtime_error& error) {
                raised = error.what();
            }
            ASSERT_EQ(there, round);
            ASSERT_EQ(here, round);
            ASSERT_EQ(raised, raisedFor[round % 4]) << round;
        }
    }
}

// A worker that never gets to take a half (held back before its first one, as a thread the
// scheduler has put aside): the caller does both halves itself, every time, and the worker
// still stops when it is let go at the end.
TEST(SplitWorker, CallerDoesTheHalvesOfAWorkerHeldBack) {
    std::binary_semaphore letGo(0);
    {
        SplitWorker worker({}, [&letGo] { letGo.acquire(); });
        const std::thread::id caller = std::this_thread::get_id();
        for (int round = 0; round < 300; ++round) {
            std::thread::id thereThread;
            bool here = false;
            worker.runBoth([&] { thereThread = std::this_thread::get_id(); }, [&] { here = true; });
            ASSERT_TRUE(here);
            ASSERT_EQ(thereThread, caller) << round;
        }
        EXPECT_EQ(worker.halvesOnWorker(), 0);
        letGo.release();
    }
}

// The worker takes its first half (the caller's half waits until it has) and then holds it
// until the caller's half is over, so the caller waits for it, sleeping at once: the
// hand-over completes and the worker's failure comes out of runBoth. A fresh worker each
// round; a half of one is never done alone.
TEST(SplitWorker, CallerWaitsForAHalfTheWorkerHoldsUp) {
    for (int round = 0; round < 200; ++round) {
        SplitWorker worker(noSpinning);
        std::atomic<bool> thereStarted{false};
        std::atomic<bool> hereDone{false};
        std::thread::id thereThread;
        std::string raised;
        try {
            worker.runBoth(
                [&] {
                    thereThread = std::this_thread::get_id();
                    thereStarted = true;
                    waitFor(hereDone);
                    if (round % 2 == 1) {
                        throw std::runtime_error("there");
                    }
                },
                [&] {
                    waitFor(thereStarted);
                    hereDone = true;
                });
        } catch (const std::runtime_error& error) {
            raised = error.what();
        }
        ASSERT_NE(thereThread, std::this_thread::get_id()) << round;
        ASSERT_EQ(worker.halvesOnWorker(), 1) << round;
        ASSERT_EQ(raised, round % 2 == 1 ? "there" : "") << round;
    }
}

// A worker's half that waits for the caller's to end, over many rounds on one worker:
// whether the worker takes it, is late and has it taken back, or the caller does it
// alone after a miss, the rounds complete with both halves done once.
TEST(SplitWorker, HandOversCompleteWhateverSideIsLate) {
    for (const SplitWorker::SpinTimes spins : {SplitWorker::SpinTimes{}, noSpinning}) {
        SplitWorker worker(spins);
        for (int round = 0; round < 2000; ++round) {
            std::atomic<bool> hereDone{false};
            int there = 0;
            int here = 0;
            worker.runBoth(
                [&] {
                    waitFor(hereDone);
                    ++there;
                },
                [&] {
                    ++here;
                    hereDone = true;
                });
            ASSERT_EQ(there, 1);
            ASSERT_EQ(here, 1);
        }
    }
}

} // namespace
} // namespace orvane::calc
