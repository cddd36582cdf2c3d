#include "cli/lines_as_read.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

// Later lines are quicker, so that they finish before earlier ones.
std::string slowerForEarlierLines(std::size_t i, std::size_t count) {
    volatile std::size_t work = 0;
    for (std::size_t k = 0; k < (count - i) * 200; ++k) {
        work = work + k;
    }
    return std::to_string(i * i);
}

TEST(LinesAsRead, DeliversEveryLineInOrderWithTheReadersAtMostAheadAsAsked) {
    const struct {
        std::size_t count;
        unsigned threads;
        std::size_t ahead;
        std::size_t chunk;
    } cases[] = {{0, 2, 1, 1},    {1, 4, 1, 1},    {50, 1, 4, 1}, {50, 2, 1, 1},    {50, 3, 8, 1},
                 {300, 8, 2, 1},  {50, 1, 4, 8},   {50, 2, 8, 4}, {7, 2, 16, 4},    {3, 2, 16, 8},
                 {61, 3, 16, 32}, {300, 8, 64, 8}, {40, 4, 3, 4}, {100, 2, 256, 32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " lines, " + std::to_string(c.threads) +
                     " threads, " + std::to_string(c.ahead) + " ahead, " + std::to_string(c.chunk) +
                     " a turn");
        // The first reading turn takes a whole chunk (a thread's share of the read-ahead at
        // most): the maker of the first line makes the lines of its turn in order.
        const std::size_t turn =
            c.threads == 1
                ? std::min<std::size_t>(c.count, 1)
                : std::min({c.chunk, std::max<std::size_t>(c.ahead / c.threads, 1), c.count});
        std::mutex mutex;
        std::condition_variable moreRead;
        std::size_t read = 0; // written by one reader at a time
        std::atomic<std::size_t> deliveredSoFar{0};
        std::atomic<bool> tooFarAhead{false}, turnShort{false}, wrongThread{false};
        std::vector<std::size_t> order;
        // what each maker made, in the order it made it; a maker writes only its own
        std::vector<std::vector<std::size_t>> byMaker(c.threads);
        std::atomic<unsigned> makers{0};
        makeAsReadInOrder(
            [&]() -> std::optional<std::size_t> {
                const std::lock_guard lock(mutex);
                if (read == c.count) {
                    return std::nullopt;
                }
                // the delivery of the line before the window moved on may still be running
                if (read > deliveredSoFar.load() + c.ahead) {
                    tooFarAhead = true;
                }
                moreRead.notify_all();
                return read++;
            },
            {.threads = c.threads, .ahead = c.ahead, .chunk = c.chunk},
            [&] {
                std::vector<std::size_t>& made = byMaker[makers++];
                return [&, thread = std::this_thread::get_id()](std::size_t i) {
                    if (std::this_thread::get_id() != thread) {
                        wrongThread = true;
                    }
                    if (i == 0) {
                        // with lines taken one by one, the others read the rest of the turn
                        std::unique_lock lock(mutex);
                        if (!moreRead.wait_for(lock, std::chrono::seconds(30),
                                               [&] { return read >= turn; })) {
                            turnShort = true;
                        }
                    }
                    made.push_back(i);
                    return slowerForEarlierLines(i, c.count);
                };
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
        EXPECT_EQ(makers, c.threads); // one maker a thread, made on it and used only there
        EXPECT_FALSE(wrongThread);
        EXPECT_FALSE(turnShort);
        for (const std::vector<std::size_t>& made : byMaker) {
            // a maker's turns follow each other in input order
            EXPECT_TRUE(std::is_sorted(made.begin(), made.end()));
            if (!made.empty() && made.front() == 0) {
                ASSERT_GE(made.size(), turn);
                for (std::size_t i = 0; i < turn; ++i) {
                    EXPECT_EQ(made[i], i);
                }
            }
        }
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
        const auto same = [](std::size_t i) { return i; };
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
            {.threads = threads, .ahead = 16}, [&] { return std::ref(same); },
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

// A maker that cannot be made (a session whose data files do not load), a line that cannot
// be made or read: the failure reaches the caller once no maker is making any more, and
// nothing is delivered unless every maker was made.
TEST(LinesAsRead, AFailureStopsTheMakersAndReachesTheCaller) {
    enum class Fails {
        FirstFactory,
        SecondFactory,
        SecondFactoryLate,
        EveryFactory,
        FirstLine,
        ThirdRead
    };
    const struct {
        Fails fails;
        unsigned threads;
        std::size_t chunk;
    } cases[] = {{Fails::FirstFactory, 1, 1},      {Fails::FirstFactory, 2, 1},
                 {Fails::SecondFactory, 3, 1},     {Fails::SecondFactory, 2, 4},
                 {Fails::SecondFactoryLate, 2, 1}, {Fails::EveryFactory, 3, 1},
                 {Fails::FirstLine, 1, 1},         {Fails::FirstLine, 3, 1},
                 {Fails::FirstLine, 2, 4},         {Fails::ThirdRead, 1, 1},
                 {Fails::ThirdRead, 2, 1},         {Fails::ThirdRead, 3, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(int(c.fails)) + ", " + std::to_string(c.threads) +
                     " threads, " + std::to_string(c.chunk) + " a turn");
        const Fails fails = c.fails;
        const bool byFactory = fails != Fails::FirstLine && fails != Fails::ThirdRead;
        // Shared with the makers: one that reads when the failure comes is let go, and may
        // finish after the call.
        struct Run {
            std::mutex mutex;
            std::condition_variable failing;
            bool failed = false, fourMade = false;
            std::size_t read = 0;
            std::atomic<int> making{0};
            std::atomic<unsigned> factoryCalls{0};
            [[noreturn]] void fail(const char* what) {
                {
                    const std::lock_guard lock(mutex);
                    failed = true;
                }
                failing.notify_all();
                throw std::runtime_error(what);
            }
        };
        const auto run = std::make_shared<Run>();
        const auto make = [run, fails](std::size_t i) {
            ++run->making;
            if (fails == Fails::FirstLine && i == 0) {
                --run->making;
                run->fail("no line");
            }
            if (fails == Fails::SecondFactoryLate) {
                // a while for the first line to go out, were it let out before every maker is
                slowerForEarlierLines(0, 2000);
                if (i == 3) {
                    const std::lock_guard lock(run->mutex);
                    run->fourMade = true;
                }
                run->failing.notify_all();
            } else if (fails != Fails::ThirdRead) {
                // still making when the failure comes, and for a while after
                std::unique_lock lock(run->mutex);
                run->failing.wait_for(lock, std::chrono::seconds(30), [&] { return run->failed; });
                lock.unlock();
                slowerForEarlierLines(0, 2000);
            }
            --run->making;
            return i;
        };
        std::size_t delivered = 0;
        bool outOfOrder = false;
        try {
            makeAsReadInOrder(
                [run, fails]() -> std::optional<std::size_t> {
                    if (fails == Fails::ThirdRead && run->read == 2) {
                        run->fail("no read");
                    }
                    return run->read < 20 ? std::optional<std::size_t>(run->read++) : std::nullopt;
                },
                {.threads = c.threads, .ahead = 8, .chunk = c.chunk},
                [&] {
                    const unsigned call = ++run->factoryCalls;
                    if (fails == Fails::SecondFactoryLate && call == 2) {
                        // the first lines are made and could go out before this maker is
                        std::unique_lock lock(run->mutex);
                        run->failing.wait_for(lock, std::chrono::seconds(30),
                                              [&] { return run->fourMade; });
                        lock.unlock();
                        run->fail("no maker");
                    }
                    if ((fails == Fails::FirstFactory && call == 1) ||
                        (fails == Fails::SecondFactory && call == 2) ||
                        fails == Fails::EveryFactory) {
                        run->fail("no maker");
                    }
                    return make;
                },
                [&](std::size_t i, std::size_t) {
                    outOfOrder = outOfOrder || i != delivered;
                    ++delivered;
                });
            ADD_FAILURE() << "no failure came through";
        } catch (const std::runtime_error& error) {
            const std::string expected = byFactory                   ? "no maker"
                                         : fails == Fails::FirstLine ? "no line"
                                                                     : "no read";
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_EQ(run->making, 0); // every maker finished its line before the failure came out
        EXPECT_FALSE(outOfOrder);
        if (byFactory || fails == Fails::FirstLine) {
            EXPECT_EQ(delivered, 0u);
        } else {
            EXPECT_LE(delivered, 2u);
        }
        EXPECT_LE(run->factoryCalls, c.threads);
    }
}

// A maker that cannot be made while another waits for input that never comes (a terminal):
// the failure still reaches the caller.
TEST(LinesAsRead, AFailingFactoryEndsTheRunWhileAMakerWaitsForInput) {
    struct Gate {
        std::mutex mutex;
        std::condition_variable changed;
        bool reading = false, open = false;
    };
    const auto gate = std::make_shared<Gate>();
    std::atomic<unsigned> factoryCalls{0};
    const auto same = [](std::size_t i) { return i; };
    EXPECT_THROW(makeAsReadInOrder(
                     // kept past the call by the maker left waiting in it
                     [gate]() -> std::optional<std::size_t> {
                         std::unique_lock lock(gate->mutex);
                         gate->reading = true;
                         gate->changed.notify_all();
                         gate->changed.wait(lock, [&] { return gate->open; });
                         return std::nullopt;
                     },
                     {.threads = 2, .ahead = 4},
                     [&] {
                         if (++factoryCalls == 2) {
                             std::unique_lock lock(gate->mutex);
                             gate->changed.wait_for(lock, std::chrono::seconds(30),
                                                    [&] { return gate->reading; });
                             throw std::runtime_error("no maker");
                         }
                         return std::ref(same);
                     },
                     [](std::size_t, std::size_t) {}),
                 std::runtime_error);
    // The reader is left waiting, as it would be for a terminal, until the process ends.
}

} // namespace
} // namespace orvane::cli
