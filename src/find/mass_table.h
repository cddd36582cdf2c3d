#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::find {

// The counts one element may take, and its mass.
struct CountRange {
    double mass = 0; // above 0
    long long minimum = 0;
    long long maximum = 0;
};

// Every combination of the counts of a few elements with the mass they add up to, in
// buckets of a mass width, so that the combinations of a narrow mass window are found
// without a loop over any count: the lightest elements of a search, which have the most
// counts, are looked up here once per combination of the others.
class MassTable {
public:
    static constexpr std::size_t mostElements = 3;
    // The most combinations a table holds; wider ranges are searched count by count.
    static constexpr long long largestSize = 1 << 20;

    /// The number of combinations of 1 to mostElements ranges; 0 when a range is empty or
    /// there would be more than largestSize.
    static long long sizeOf(const std::vector<CountRange>& ranges);

    /// The combinations of the ranges (1 to mostElements, of a size above 0), in buckets of
    /// about `bucketWidth` u (above 0; widened when there would be too many).
    MassTable(const std::vector<CountRange>& ranges, double bucketWidth);

    /// Calls visit(counts, mass) for every combination whose mass lies in [low, high], in no
    /// particular order; counts are in the order of the ranges.
    template <typename Visit> void forEachIn(double low, double high, Visit&& visit) const {
        if (high < m_origin || low > m_highest) {
            return;
        }
        const std::size_t to = bucketOf(high) + 1;
        for (std::uint32_t e = m_starts[bucketOf(low)]; e < m_starts[to]; ++e) {
            const Entry& entry = m_entries[e];
            if (entry.mass >= low && entry.mass <= high) {
                visit(entry.counts, entry.mass);
            }
        }
    }

    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        double mass;
        std::array<std::int32_t, mostElements> counts;
    };

    // Monotonic in the mass, so a window's entries lie in the buckets of its ends and between.
    std::size_t bucketOf(double mass) const {
        return static_cast<std::size_t>((std::clamp(mass, m_origin, m_highest) - m_origin) *
                                        m_perWidth);
    }

    double m_origin = 0;                 // the lightest combination's mass
    double m_highest = 0;                // the heaviest combination's mass
    double m_perWidth = 0;               // buckets per u
    std::vector<std::uint32_t> m_starts; // first entry of each bucket, and one past the last
    std::vector<Entry> m_entries;        // by bucket
};

} // namespace orvane::find
