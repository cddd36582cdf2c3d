#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace orvane::find {

// The best `capacity` items of all that are offered, by a strict order `better`, holding
// no more than that many: a heap whose top is the worst kept, replaced by anything better.
// A search that finds millions of formulas for a report of twenty holds twenty.
template <typename T, typename Better> class BoundedBest {
public:
    // What became of an offered item.
    enum class Offer {
        Refused,  // not better than the worst of a full collection; the item is as it was
        Added,    // kept, the collection not yet full; the item is moved from
        Replaced, // kept in the place of the worst, which is now in the item
    };

    BoundedBest(std::size_t capacity, Better better)
        : m_capacity(capacity), m_better(std::move(better)) {
        m_items.reserve(capacity);
    }

    /// Keeps `item` while fewer than the capacity are kept, or when it is better than the
    /// worst kept, which it then displaces: the displaced one is swapped into `item`, so
    /// that its buffers serve the next offer.
    Offer offer(T& item) {
        if (m_items.size() < m_capacity) {
            m_items.push_back(std::move(item));
            std::push_heap(m_items.begin(), m_items.end(), m_better);
            return Offer::Added;
        }
        if (m_items.empty() || !m_better(item, m_items.front())) {
            return Offer::Refused;
        }
        std::pop_heap(m_items.begin(), m_items.end(), m_better);
        std::swap(m_items.back(), item);
        std::push_heap(m_items.begin(), m_items.end(), m_better);
        return Offer::Replaced;
    }

    std::size_t size() const { return m_items.size(); }

    /// What is kept, best first; the collection is left empty.
    std::vector<T> takeBestFirst() {
        std::sort_heap(m_items.begin(), m_items.end(), m_better);
        return std::exchange(m_items, {});
    }

private:
    std::size_t m_capacity;
    Better m_better;
    std::vector<T> m_items; // a heap under m_better: the worst at the front
};

} // namespace orvane::find
