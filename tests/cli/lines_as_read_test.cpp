#include "cli/lines_as_read.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(LinesAsRead, DeliversEveryLineInOrderWithTheReadersAtMostAheadAsAsked) {
    const struct {
        std::size_t count;
        unsigned threads;
        std::size_t ahead;
    } cases[] = {{0, 2, 1}, {1, 4, 1}, {50, 1, 4}, {50, 2, 1}, {50, 3, 8}, {300, 8, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " lines, " + std::to_string(c.threads) +
                     " threads, " + std::to_string(c.ahead) + " ahead");
        std::size_t read = 0; // `next` is called by one reader at a time
        std::atomic<std::size_t> deliveredSoFar{0};
        std::atomic<bool> tooFarAhead{false};
        std::vector<std::size_t> order;
        makeAsReadInOrder(
            [&]() -> std::optional<std::size_t> {
                if (read == c.count) {
                    return std::nullopt;
                }
                // the delivery of the line before the window moved on may still be running
                if (read > deliveredSoFar.load() + c.ahead) {
                    tooFarAhead = true;
                }
                return read++;
            },
            c.threads, c.ahead,
            [&](std::size_t i) {
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
                deliveredSoFar = i + 1;
            });
        std::vector<std::size_t> expected(c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            expected[i] = i;
        }
        EXPECT_EQ(order, expected);
        EXPECT_FALSE(tooFarAhead);
    }
}

// A producer that sends its next line only once it has the answer to the one before (a
// pipe to a program that waits for each result): every line is answered, which reading
// the whole input first would never do.
TEST(LinesAsRead, AnswersEachLineBeforeTheNextIsSent) {
    for (const unsigned threads : {1u, 3u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        std::mutex mutex;
        std::condition_variable answered;
        std::size_t sent = 0, delivered = 0;
        bool starved = false;
        makeAsReadInOrder(
            [&]() -> std::optional<std::size_t> {
                std::unique_lock lock(mutex);
                // a generous guard, so that the old way fails rather than hangs
                if (!answered.wait_for(lock, std::chrono::seconds(30),
                                       [&] { return delivered == sent; })) {
                    starved = true;
                    return std::nullopt;
                }
                return sent < 5 ? std::optional<std::size_t>(sent++) : std::nullopt;
            },
            threads, 16, [](std::size_t i) { return i; },
            [&](std::size_t, std::size_t) {
                {
                    const std::lock_guard lock(mutex);
                    ++delivered;
                }
                answered.notify_all();
            });
        EXPECT_FALSE(starved);
        EXPECT_EQ(delivered, 5u);
    }
}

} // namespace
} // namespace orvane::cli
