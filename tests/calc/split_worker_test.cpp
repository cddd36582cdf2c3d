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
    for (int round = 0; round < 2000; ++round) {
        int there = 0;
        int here = 0;
        std::thread::id thereThread;
        worker.runBoth(
            [&] {
                there = round;
                thereThread = std::this_thread::get_id();
            },
            [&] { here = round + 1; });
        ASSERT_EQ(there, round);
        ASSERT_EQ(here, round + 1);
        ASSERT_NE(thereThread, caller);
    }

    const struct {
        bool thereFails;
        bool hereFails;
        const char* raised;
    } cases[] = {
        {true, false, "there"},
        {false, true, "here"},
        {true, true, "there"},
        {false, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.thereFails ? "there " : "") + (c.hereFails ? "here" : ""));
        bool hereRan = false;
        std::string raised;
        try {
            worker.runBoth(
                [&] {
                    if (c.thereFails) {
                        throw std::runtime_error("there");
                    }
                },
                [&] {
                    hereRan = true;
                    if (c.hereFails) {
                        throw std::runtime_error("here");
                    }
                });
        } catch (const std::runtime_error& error) {
            raised = error.what();
        }
        EXPECT_TRUE(hereRan);
        EXPECT_EQ(raised, c.raised);
    }
}

} // namespace
} // namespace orvane::calc
