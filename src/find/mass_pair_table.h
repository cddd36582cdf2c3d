#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::find {

// Every pair of counts of two elements with the mass they add up to, in buckets of a mass
// width, so that the pairs of a narrow mass window are found without a loop over either
// count: the last two elements of a search are looked up here once per combination of the
// others.
class MassPairTable {
public:
    // The most pairs a table holds; wider ranges are searched count by count.
    static constexpr long long largestSize = 1 << 20;

    /// True when the ranges give at most largestSize pairs.
    static bool fits(long long firstMinimum, long long firstMaximum, long long secondMinimum,
                     long long secondMaximum);

    /// The pairs of counts firstMinimum..firstMaximum of mass `firstMass` and
    /// secondMinimum..secondMaximum of `secondMass` (masses above 0, ranges that fit), in
    /// buckets of about `bucketWidth` u (above 0; widened when there would be too many).
    MassPairTable(double firstMass, long long firstMinimum, long long firstMaximum,
                  double secondMass, long long secondMinimum, long long secondMaximum,
                  double bucketWidth);

    /// Calls visit(first, second, mass) for every pair whose mass lies in [low, high], in
    /// no particular order.
    template <typename Visit> void forEachIn(double low, double high, Visit&& visit) const {
        if (high < m_origin || low > m_highest) {
            return;
        }
        const std::size_t from = bucketOf(low);
        const std::size_t to = bucketOf(high);
        for (std::uint32_t e = m_starts[from]; e < m_starts[to + 1]; ++e) {
            const Entry& entry = m_entries[e];
            if (entry.mass >= low && entry.mass <= high) {
                visit(static_cast<long long>(entry.first), static_cast<long long>(entry.second),
                      entry.mass);
            }
        }
    }

    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        double mass;
        std::int32_t first;
        std::int32_t second;
    };

    // Monotonic in the mass, so a window's pairs lie in the buckets of its ends and between.
    std::size_t bucketOf(double mass) const {
        return static_cast<std::size_t>((std::clamp(mass, m_origin, m_highest) - m_origin) *
                                        m_perWidth);
    }

    double m_origin = 0;                 // the lightest pair's mass
    double m_highest = 0;                // the heaviest pair's mass
    double m_perWidth = 0;               // buckets per u
    std::vector<std::uint32_t> m_starts; // first entry of each bucket, and one past the last
    std::vector<Entry> m_entries;        // by bucket
};

} // namespace orvane::find
