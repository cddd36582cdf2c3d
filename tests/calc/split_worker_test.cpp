#include "calc/split_worker.h"

#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace orvane::calc {
namespace {

// Both halves run, the worker's on another thread, many times over one worker; a failure
// on either side comes out of runBoth (the worker's first) and the worker goes on.
TEST(SplitWorker, RunsBothHalvesAndPassesOnTheirFailures) {
    SplitWorker worker;
    const std::thread::id caller = std::this_thread::get_id();
    const char* const raisedFor[] = {"", "there", "here", "there"}; // by the failing sides
    for (int round = 0; round < 2000; ++round) {
        const bool thereFails = round % 4 == 1 || round % 4 == 3;
        const bool hereFails = round % 4 >= 2;
        int there = -1;
        int here = -1;
        std::thread::id thereThread;
        std::string raised;
        try {
            worker.runBoth(
                [&] {
                    there = round;
                    thereThread = std::this_thread::get_id();
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
        ASSERT_NE(thereThread, caller);
        ASSERT_EQ(raised, raisedFor[round % 4]) << round;
    }
}

} // namespace
} // namespace orvane::calc
