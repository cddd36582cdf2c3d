#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace orvane::cli {

/// How many threads make results, how far their reading may run ahead of the output and how
/// many items a reader takes at a time.
struct AsReadLimits {
    unsigned threads = 1;
    std::size_t ahead = 1;
    // above 1 only where reading never waits (a file): a reader holds what it took until its
    // turn is full, so a producer that pauses would wait for answers it never gets
    std::size_t chunk = 1;
};

/// Takes items from `next` (an optional, nothing at the end) as they come, makes the result
/// of each on `limits.threads` threads and hands each to `deliver(item, result)` on the
/// calling thread in input order, as soon as every item before it is delivered: a producer
/// that pauses gets the answers to what it sent. Each thread first calls `newMaker()` and
/// makes its results with what that returns, `maker(item)`; nothing is delivered before every
/// maker is made. With one thread all of it runs on the caller's, without threads.
/// The makers read at most `limits.ahead` items beyond the last delivered; one of them reads
/// at a time, up to `limits.chunk` items (at most its share of `ahead`), while the others make
/// and the output goes on. What `newMaker`, `next`, a maker or `deliver` throws stops the
/// makers after their current items and goes on to the caller once they stopped, except for
/// a maker still in `next`: it may wait for input that never comes (a terminal) and is left
/// to the process's end, so `next` is kept (a copy, or what was moved in) as long as it runs,
/// and what that copy refers to should outlive the call.
template <typename Next, typename NewMaker, typename Deliver>
void makeAsReadInOrder(Next&& next, AsReadLimits limits, NewMaker&& newMaker, Deliver&& deliver) {
    using Item = typename decltype(next())::value_type;
    using Maker = decltype(newMaker());
    using Result = std::decay_t<std::invoke_result_t<Maker&, const Item&>>;
    if (limits.threads <= 1) {
        Maker maker = newMaker();
        while (std::optional<Item> item = next()) {
            const Result result = maker(*item);
            deliver(*item, result);
        }
        return;
    }
    const std::size_t ahead = std::max<std::size_t>(limits.ahead, 1);
    const std::size_t chunk =
        std::clamp<std::size_t>(limits.chunk, 1, std::max<std::size_t>(ahead / limits.threads, 1));
    // shared with the makers, which may outlive a failure while one of them reads
    struct State {
        State(Next&& source, unsigned threads)
            : next(std::forward<Next>(source)), busy(threads), unmade(threads) {}
        std::decay_t<Next> next;
        std::mutex reading; // one reader at a time, outside the state's lock
        std::mutex mutex;
        std::condition_variable ready, room, idle;
        std::map<std::size_t, std::pair<Item, Result>> made;
        std::size_t read = 0, delivered = 0;
        unsigned busy;   // makers in `newMaker`, `next` or their maker; all of them at the start
        unsigned unmade; // makers whose `newMaker` has not returned
        bool readerWaits = false;
        bool ended = false, stopped = false;
        std::exception_ptr failure;
    };
    const auto state = std::make_shared<State>(std::forward<Next>(next), limits.threads);
    const auto work = [state, &newMaker, ahead, chunk] {
        State& s = *state;
        bool unmade = true, busy = true, reading = false; // what this maker counts for in `s`
        const auto idle = [&] {
            busy = false;
            --s.busy;
        };
        try {
            {
                const std::lock_guard lock(s.mutex);
                if (s.stopped) {
                    --s.unmade;
                    idle();
                    s.idle.notify_all();
                    return;
                }
            }
            Maker maker = newMaker();
            {
                const std::lock_guard lock(s.mutex);
                unmade = false;
                --s.unmade;
                idle();
            }
            s.ready.notify_all();
            s.idle.notify_all();
            std::vector<Item> items;
            std::vector<std::pair<Item, Result>> results;
            while (true) {
                std::unique_lock reader(s.reading);
                std::size_t room = 0;
                {
                    std::unique_lock lock(s.mutex);
                    s.room.wait(
                        lock, [&] { return s.ended || s.stopped || s.read < s.delivered + ahead; });
                    if (s.ended || s.stopped) {
                        return;
                    }
                    room = std::min(chunk, s.delivered + ahead - s.read);
                    busy = reading = true;
                    ++s.busy;
                    s.readerWaits = true;
                }
                items.clear();
                bool ended = false;
                while (!ended && items.size() < room) {
                    std::optional<Item> item = s.next();
                    ended = !item;
                    if (item) {
                        items.push_back(std::move(*item));
                    }
                }
                std::size_t first = 0;
                bool over = false;
                {
                    const std::lock_guard lock(s.mutex);
                    s.readerWaits = reading = false;
                    s.ended = s.ended || ended;
                    over = s.stopped || items.empty();
                    if (over) {
                        idle();
                    } else {
                        first = s.read;
                        s.read += items.size();
                    }
                }
                reader.unlock();
                if (ended) {
                    s.ready.notify_all();
                    s.room.notify_all();
                }
                if (over) {
                    s.idle.notify_all();
                    return;
                }
                results.clear();
                for (Item& item : items) {
                    Result result = maker(item);
                    results.emplace_back(std::move(item), std::move(result));
                }
                {
                    const std::lock_guard lock(s.mutex);
                    for (std::size_t k = 0; k < results.size(); ++k) {
                        s.made.emplace(first + k, std::move(results[k]));
                    }
                    idle();
                }
                s.ready.notify_all();
                s.idle.notify_all();
            }
        } catch (...) {
            {
                const std::lock_guard lock(s.mutex);
                if (!s.failure) {
                    s.failure = std::current_exception();
                }
                s.stopped = true;
                if (reading) {
                    s.readerWaits = false;
                }
                if (busy) {
                    idle();
                }
                if (unmade) {
                    --s.unmade;
                }
            }
            s.ready.notify_all();
            s.room.notify_all();
            s.idle.notify_all();
        }
    };
    std::vector<std::thread> makers;
    for (unsigned t = 0; t < limits.threads; ++t) {
        makers.emplace_back(work);
    }
    State& s = *state;
    try {
        for (std::size_t i = 0;; ++i) {
            std::unique_lock lock(s.mutex);
            // nothing goes out before every maker is made: one that cannot be fails the whole
            s.ready.wait(lock, [&] {
                return s.failure ||
                       (s.unmade == 0 && (s.made.contains(i) || (s.ended && i >= s.read)));
            });
            if (s.failure) {
                std::rethrow_exception(s.failure);
            }
            const auto found = s.made.find(i);
            if (found == s.made.end()) {
                break;
            }
            std::pair<Item, Result> line = std::move(found->second);
            s.made.erase(found);
            s.delivered = i + 1;
            lock.unlock();
            s.room.notify_all();
            deliver(line.first, line.second);
        }
    } catch (...) {
        bool readerWaits = false;
        {
            std::unique_lock lock(s.mutex);
            s.stopped = true;
            s.room.notify_all();
            // the makers finish what they make; only a reader may still wait for input
            s.idle.wait(lock, [&] { return s.busy == (s.readerWaits ? 1u : 0u); });
            readerWaits = s.readerWaits;
        }
        for (std::thread& maker : makers) {
            if (readerWaits) {
                maker.detach();
            } else {
                maker.join();
            }
        }
        throw;
    }
    for (std::thread& maker : makers) {
        maker.join();
    }
}

} // namespace orvane::cli
