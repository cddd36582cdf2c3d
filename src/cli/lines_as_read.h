#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace orvane::cli {

/// Takes items from `next` (an optional, nothing at the end) as they come, makes the result
/// of each with `make(item)` on `threads` threads and hands each to `deliver(item, result)`
/// on the calling thread in input order, as soon as every item before it is delivered: a
/// producer that pauses gets the answers to what it sent. The makers read at most `ahead`
/// items beyond the last delivered; one of them reads at a time, while the others make and
/// the output goes on. `next` and `make` must not throw. A delivery that throws stops the
/// makers after their current item and the exception goes on to the caller; a maker that
/// waits in `next` for input that may never come (a terminal) is left to the process's end.
template <typename Next, typename Make, typename Deliver>
void makeAsReadInOrder(Next&& next, unsigned threads, std::size_t ahead, Make&& make,
                       Deliver&& deliver) {
    using Item = typename decltype(next())::value_type;
    using Result = decltype(make(std::declval<const Item&>()));
    if (threads <= 1) {
        while (std::optional<Item> item = next()) {
            const Result result = make(*item);
            deliver(*item, result);
        }
        return;
    }
    ahead = std::max<std::size_t>(ahead, 1);
    // shared with the makers, which may outlive a failed delivery while one of them reads
    struct State {
        std::mutex reading; // one reader at a time, outside the state's lock
        std::mutex mutex;
        std::condition_variable ready, room, idle;
        std::map<std::size_t, std::pair<Item, Result>> made;
        std::size_t read = 0, delivered = 0;
        unsigned busy = 0; // makers in `next` or `make`
        bool readerWaits = false;
        bool ended = false, stopped = false;
    };
    const auto state = std::make_shared<State>();
    const auto work = [state, &next, &make, ahead] {
        State& s = *state;
        while (true) {
            std::unique_lock reader(s.reading);
            {
                std::unique_lock lock(s.mutex);
                s.room.wait(lock,
                            [&] { return s.ended || s.stopped || s.read < s.delivered + ahead; });
                if (s.ended || s.stopped) {
                    return;
                }
                ++s.busy;
                s.readerWaits = true;
            }
            std::optional<Item> item = next();
            std::size_t index = 0;
            bool over = false;
            {
                const std::lock_guard lock(s.mutex);
                s.readerWaits = false;
                over = !item || s.stopped;
                if (over) {
                    s.ended = true;
                    --s.busy;
                } else {
                    index = s.read++;
                }
            }
            reader.unlock();
            if (over) {
                s.ready.notify_all();
                s.room.notify_all();
                s.idle.notify_all();
                return;
            }
            Result result = make(*item);
            {
                const std::lock_guard lock(s.mutex);
                s.made.emplace(index, std::pair<Item, Result>(std::move(*item), std::move(result)));
                --s.busy;
            }
            s.ready.notify_all();
            s.idle.notify_all();
        }
    };
    std::vector<std::thread> makers;
    for (unsigned t = 0; t < threads; ++t) {
        makers.emplace_back(work);
    }
    try {
        for (std::size_t i = 0;; ++i) {
            std::unique_lock lock(state->mutex);
            state->ready.wait(lock, [&] {
                return state->made.contains(i) || (state->ended && i >= state->read);
            });
            const auto found = state->made.find(i);
            if (found == state->made.end()) {
                break;
            }
            std::pair<Item, Result> line = std::move(found->second);
            state->made.erase(found);
            state->delivered = i + 1;
            lock.unlock();
            state->room.notify_all();
            deliver(line.first, line.second);
        }
    } catch (...) {
        bool readerWaits = false;
        {
            std::unique_lock lock(state->mutex);
            state->stopped = true;
            state->room.notify_all();
            // the makers finish what they make; only a reader may still wait for input
            state->idle.wait(lock, [&] { return state->busy == (state->readerWaits ? 1u : 0u); });
            readerWaits = state->readerWaits;
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
