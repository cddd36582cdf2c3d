#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "find/mass_table.h"

namespace orvane::find {

// One element of the search with the mass of its most abundant isotope.
struct SearchElement {
    std::size_t range = 0; // index into the ranges as written
    double mass = 0;
    long long minimum = 0;
    long long maximum = 0;
};

// Walks the counts heaviest element first; each count's range is cut to what the lighter
// elements can still make up between their smallest and largest masses, so no branch
// that cannot reach the window is entered. The lightest two elements, the most counts of
// all, are looked up together in a table by mass.
class FormulaEnumerator {
public:
    // Steps of the walk (counts tried, table entries visited) between two calls of the
    // progress callback: a few thousand take well under a millisecond, so that a cancel
    // takes effect at once in every loop, however the counts are spread over the levels.
    static constexpr long long pollInterval = 4096;

    FormulaEnumerator(std::vector<SearchElement> elements, double low, double high)
        : m_elements(std::move(elements)), m_low(low), m_high(high) {
        std::sort(m_elements.begin(), m_elements.end(),
                  [](const SearchElement& a, const SearchElement& b) { return a.mass > b.mass; });
        const std::size_t n = m_elements.size();
        m_lightestRest.assign(n + 1, 0);
        m_heaviestRest.assign(n + 1, 0);
        for (std::size_t i = n; i-- > 0;) {
            m_lightestRest[i] = m_lightestRest[i + 1] +
                                static_cast<double>(m_elements[i].minimum) * m_elements[i].mass;
            m_heaviestRest[i] = m_heaviestRest[i + 1] +
                                static_cast<double>(m_elements[i].maximum) * m_elements[i].mass;
        }
        m_counts.assign(n, 0);
        m_parts.assign(n, {0, 1});
        // the lightest two: a table of three costs more to build for each search than its
        // lookups save; counts beyond the window's mass cannot take part
        if (n >= 2) {
            std::vector<CountRange> ranges;
            for (std::size_t i = n - 2; i < n; ++i) {
                const SearchElement& element = m_elements[i];
                const double reachable = std::max(std::floor(high / element.mass), -1.0);
                ranges.push_back({element.mass, element.minimum,
                                  std::min(element.maximum, static_cast<long long>(reachable))});
            }
            if (MassTable::sizeOf(ranges) > 0) {
                m_table.emplace(ranges, high - low);
                m_tableFrom = n - 2;
            }
        }
    }

    const std::vector<SearchElement>& elements() const { return m_elements; }

    /// Calls `hit(counts)` for every formula whose mass lies in the window, and `progress`
    /// (when given) with the part walked, 0 to 1: at the start, at each step of the three
    /// heaviest elements' counts and every pollInterval steps. False from it stops the walk.
    /// False when it was stopped.
    template <typename Hit> bool run(Hit&& hit, const std::function<bool(double)>& progress) {
        m_progress = &progress;
        m_stopped = false;
        if (progress && !progress(0.0)) {
            m_stopped = true;
            return false;
        }
        descend(0, 0.0, hit);
        return !m_stopped;
    }

    /// The steps walked so far: counts tried and table entries visited, the work done.
    long long steps() const { return m_steps; }

private:
    template <typename Hit> void descend(std::size_t i, double partial, Hit& hit) {
        const std::size_t n = m_elements.size();
        if (i == n) {
            if (partial >= m_low && partial <= m_high) {
                hit(m_counts);
            }
            return;
        }
        if (m_table && i == m_tableFrom) {
            m_table->forEachIn(m_low - partial, m_high - partial, [&](const auto& counts, double) {
                // a stopped walk skips the rest of the bucket's entries at once
                if (m_stopped || (++m_steps % pollInterval == 0 && !poll(i))) {
                    return;
                }
                for (std::size_t j = i; j < n; ++j) {
                    m_counts[j] = counts[j - i];
                }
                hit(m_counts);
            });
            std::fill(m_counts.begin() + static_cast<std::ptrdiff_t>(i), m_counts.end(), 0);
            return;
        }
        const SearchElement& element = m_elements[i];
        const double lowest = (m_low - partial - m_heaviestRest[i + 1]) / element.mass;
        const double highest = (m_high - partial - m_lightestRest[i + 1]) / element.mass;
        if (highest < static_cast<double>(element.minimum) ||
            lowest > static_cast<double>(element.maximum)) {
            return;
        }
        const long long from = std::max(element.minimum, static_cast<long long>(std::ceil(lowest)));
        const long long to = std::min(element.maximum, static_cast<long long>(std::floor(highest)));
        for (long long count = from; count <= to && !m_stopped; ++count) {
            m_parts[i] = {count - from, to - from + 1};
            // the heaviest elements' counts, a few hundred steps, move the progress along;
            // the counts below them are polled by the steps they take
            ++m_steps;
            if ((i < reportedDepth || m_steps % pollInterval == 0) && !poll(i + 1)) {
                break;
            }
            m_counts[i] = count;
            descend(i + 1, partial + static_cast<double>(count) * element.mass, hit);
        }
        m_counts[i] = 0;
    }

    // Tells the progress callback the part walked from the steps of the first `levels`
    // levels; false (and the walk stopped) when it says to stop.
    bool poll(std::size_t levels) {
        if (!*m_progress) {
            return true;
        }
        if (!(*m_progress)(walked(levels))) {
            m_stopped = true;
        }
        return !m_stopped;
    }

    // The part of the walk done: each level's step within its parent's step.
    double walked(std::size_t levels) const {
        double part = 0;
        double scale = 1;
        for (std::size_t i = 0; i < levels && i < m_parts.size(); ++i) {
            scale /= static_cast<double>(m_parts[i].second);
            part += static_cast<double>(m_parts[i].first) * scale;
        }
        return part;
    }

    static constexpr std::size_t reportedDepth = 3;
    const std::function<bool(double)>* m_progress = nullptr;
    bool m_stopped = false;
    long long m_steps = 0;
    std::vector<std::pair<long long, long long>> m_parts; // step of steps, by level

    std::vector<SearchElement> m_elements;
    double m_low = 0;
    double m_high = 0;
    std::vector<double> m_lightestRest; // of elements i.. at their minima
    std::vector<double> m_heaviestRest; // of elements i.. at their maxima
    std::vector<long long> m_counts;    // by position in m_elements
    std::optional<MassTable> m_table;   // of the elements from m_tableFrom on
    std::size_t m_tableFrom = 0;
};

} // namespace orvane::find
