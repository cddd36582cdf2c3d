#include "cli/lines_in_order.h"

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(LinesInOrder, DeliversEveryLineInOrderWithTheMakersAtMostAheadAsAsked) {
    const struct {
        std::size_t count;
        unsigned threads;
        std::size_t ahead;
    } cases[] = {{0, 2, 1}, {1, 4, 1}, {50, 1, 4}, {50, 2, 1}, {50, 3, 8}, {300, 8, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " lines, " + std::to_string(c.threads) +
                     " threads, " + std::to_string(c.ahead) + " ahead");
        std::atomic<std::size_t> deliveredSoFar{0};
        std::atomic<bool> tooFarAhead{false};
        std::vector<std::size_t> order;
        makeLinesInOrder(
            c.count, c.threads, c.ahead,
            [&](std::size_t i) {
                // the delivery of the line before the window moved on may still be running
                if (i > deliveredSoFar.load() + c.ahead) {
                    tooFarAhead = true;
                }
                // later lines are quicker, so that they finish before earlier ones
                volatile std::size_t work = 0;
                for (std::size_t k = 0; k < (c.count - i) * 200; ++k) {
                    work = work + k;
                }
                return std::to_string(i * i);
            },
            [&](std::size_t i, const std::string& made) {
                EXPECT_EQ(made, std::to_string(i * i));
                order.push_back(i);
                ++deliveredSoFar;
            });
        ASSERT_EQ(order.size(), c.count);
        for (std::size_t i = 0; i < order.size(); ++i) {
            EXPECT_EQ(order[i], i);
        }
        EXPECT_FALSE(tooFarAhead.load());
    }
}

TEST(LinesInOrder, AFailedDeliveryStopsTheMakersAndPassesOn) {
    for (const unsigned threads : {1u, 3u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        std::atomic<std::size_t> made{0};
        const auto run = [&] {
            makeLinesInOrder(
                1000, threads, 4,
                [&](std::size_t i) {
                    ++made;
                    return i;
                },
                [](std::size_t i, std::size_t) {
                    if (i == 5) {
                        throw std::runtime_error("output full");
                    }
                });
        };
        EXPECT_THROW(run(), std::runtime_error);
        // lines 0 to 5, the window of 4 beyond the last delivered and one in hand per thread
        EXPECT_LE(made.load(), 6u + 4u + threads);
    }
}

} // namespace
} // namespace orvane::cli
