#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace orvane::cli {

/// Makes the results of lines 0 to count - 1 with `make(i)` on `threads` threads and hands
/// each to `deliver(i, result)` on the calling thread, in line order, as soon as every line
/// before it is delivered: the output is the same for any number of threads, and only the
/// lines the makers are ahead hold their results. The makers run at most `ahead` lines
/// beyond the last delivered. A delivery that throws stops the makers after their current
/// line, and the exception goes on to the caller. `make` must not throw.
template <typename Make, typename Deliver>
void makeLinesInOrder(std::size_t count, unsigned threads, std::size_t ahead, Make&& make,
                      Deliver&& deliver) {
    threads = std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(count)));
    if (threads == 1) {
        for (std::size_t i = 0; i < count; ++i) {
            auto result = make(i);
            deliver(i, result);
        }
        return;
    }
    using Result = decltype(make(std::size_t{0}));
    ahead = std::max<std::size_t>(ahead, 1);
    std::vector<std::optional<Result>> made(count);
    std::mutex mutex;
    std::condition_variable ready, room;
    std::size_t delivered = 0;
    bool stopped = false;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            {
                std::unique_lock lock(mutex);
                room.wait(lock, [&] { return stopped || i < delivered + ahead; });
                if (stopped) {
                    return;
                }
            }
            Result result = make(i);
            {
                const std::lock_guard lock(mutex);
                made[i] = std::move(result);
            }
            ready.notify_one();
        }
    };
    // joined before the state above goes, also when a delivery throws
    std::vector<std::jthread> makers;
    for (unsigned t = 0; t < threads; ++t) {
        makers.emplace_back(work);
    }
    try {
        for (std::size_t i = 0; i < count; ++i) {
            Result result;
            {
                std::unique_lock lock(mutex);
                ready.wait(lock, [&] { return made[i].has_value(); });
                result = std::move(*made[i]);
                made[i].reset();
                delivered = i + 1;
            }
            room.notify_all();
            deliver(i, result);
        }
    } catch (...) {
        {
            const std::lock_guard lock(mutex);
            stopped = true;
        }
        room.notify_all();
        throw;
    }
}

} // namespace orvane::cli
