#include "cli/batch_run.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::cli {
namespace {

CommandLine shippedData() {
    CommandLine commandLine;
    commandLine.dataDirectory = ORVANE_SHARE_DIR;
    return commandLine;
}

// A source of `count` lines of water that counts what it has handed out.
struct CountingSource {
    std::size_t count;
    // read by the output while a worker counts
    std::shared_ptr<std::atomic<std::size_t>> read = std::make_shared<std::atomic<std::size_t>>(0);

    BatchLineSource source() const {
        return [count = count, read = read]() -> std::optional<BatchLine> {
            if (*read == count) {
                return std::nullopt;
            }
            return BatchLine{++*read, "H2O", std::nullopt};
        };
    }
};

TEST(CalculateBatch, DataFilesThatDoNotLoadFailTheBatch) {
    CommandLine commandLine;
    commandLine.dataDirectory = "/nonexistent/orvane";
    const CountingSource lines{5};
    EXPECT_THROW(calculateBatch(lines.source(), commandLine, 2, 4, [](const BatchRow&) {}),
                 text::Error);
}

// A terminal's standard input may never end: a failing output must not wait for it.
TEST(CalculateBatch, AFailingOutputEndsTheBatchWhileAWorkerWaitsForInput) {
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
    };
    const auto gate = std::make_shared<Gate>();
    auto read = std::make_shared<std::size_t>(0);
    const BatchLineSource waiting = [gate, read]() -> std::optional<BatchLine> {
        if (++*read > 2) {
            std::unique_lock lock(gate->mutex);
            gate->opened.wait(lock, [&] { return gate->open; });
            return std::nullopt;
        }
        return BatchLine{*read, "H2O", std::nullopt};
    };
    EXPECT_THROW(calculateBatch(waiting, shippedData(), 2, 4,
                                [](const BatchRow& row) {
                                    if (row.line.lineNumber == 2) {
                                        throw std::runtime_error("output closed");
                                    }
                                }),
                 std::runtime_error);
    // The worker is left waiting, as it would be for a terminal, until the process ends:
    // letting it go on would race its ending with the end of the test program.
}

TEST(CalculateBatch, ReadsOnlyAWindowAheadOfTheOutputAndKeepsTheOrder) {
    // (window, lines a thread takes at a time), one thread calculating on the caller's
    for (const auto& [window, chunk, threads] :
         {std::tuple{1u, 1u, 3u}, {3u, 1u, 3u}, {16u, 1u, 3u}, {16u, 4u, 3u}, {16u, 32u, 2u},
          {7u, 32u, 1u}}) {
        SCOPED_TRACE(std::to_string(window) + " " + std::to_string(chunk) + " " +
                     std::to_string(threads));
        const CountingSource lines{61};
        std::size_t delivered = 0;
        std::size_t furthestAhead = 0;
        calculateBatch(
            lines.source(), shippedData(), threads, window,
            [&](const BatchRow& row) {
                ++delivered;
                EXPECT_EQ(row.line.lineNumber, delivered);
                EXPECT_EQ(row.error, "");
                furthestAhead = std::max(furthestAhead, *lines.read - delivered);
            },
            chunk);
        EXPECT_EQ(delivered, 61u);
        EXPECT_LE(furthestAhead, window);
    }
}

} // namespace
} // namespace orvane::cli
