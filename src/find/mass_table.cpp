#include "find/mass_table.h"

#include <algorithm>
#include <cassert>

namespace orvane::find {

namespace {

// Enough buckets that a narrow window touches one or two; no more, as they are cleared for
// every search.
constexpr double largestBucketCount = 1 << 16;

// Calls make(counts, mass) for every combination, the last range's count changing fastest;
// missing ranges count as one count of 0.
template <typename Make> void forEachCombination(const std::vector<CountRange>& ranges, Make make) {
    std::array<CountRange, MassTable::mostElements> padded{};
    std::copy(ranges.begin(), ranges.end(), padded.begin());
    std::array<std::int32_t, MassTable::mostElements> counts{};
    for (long long a = padded[0].minimum; a <= padded[0].maximum; ++a) {
        counts[0] = static_cast<std::int32_t>(a);
        const double first = static_cast<double>(a) * padded[0].mass;
        for (long long b = padded[1].minimum; b <= padded[1].maximum; ++b) {
            counts[1] = static_cast<std::int32_t>(b);
            const double second = first + static_cast<double>(b) * padded[1].mass;
            for (long long c = padded[2].minimum; c <= padded[2].maximum; ++c) {
                counts[2] = static_cast<std::int32_t>(c);
                make(counts, second + static_cast<double>(c) * padded[2].mass);
            }
        }
    }
}

} // namespace

long long MassTable::sizeOf(const std::vector<CountRange>& ranges) {
    if (ranges.empty() || ranges.size() > mostElements) {
        return 0;
    }
    long long size = 1;
    for (const CountRange& range : ranges) {
        const long long counts = range.maximum - range.minimum + 1;
        if (counts <= 0 || counts > largestSize / size) {
            return 0;
        }
        size *= counts;
    }
    return size;
}

MassTable::MassTable(const std::vector<CountRange>& ranges, double bucketWidth) {
    assert(sizeOf(ranges) > 0 && bucketWidth > 0);
    for (const CountRange& range : ranges) {
        assert(range.mass > 0);
        m_origin += static_cast<double>(range.minimum) * range.mass;
        m_highest += static_cast<double>(range.maximum) * range.mass;
    }
    m_perWidth = 1 / std::max(bucketWidth, (m_highest - m_origin) / largestBucketCount);
    const std::size_t buckets = bucketOf(m_highest) + 1;
    // a counting sort by bucket: count, then place
    m_starts.assign(buckets + 1, 0);
    forEachCombination(ranges, [&](const auto&, double mass) { ++m_starts[bucketOf(mass) + 1]; });
    for (std::size_t i = 1; i <= buckets; ++i) {
        m_starts[i] += m_starts[i - 1];
    }
    m_entries.resize(m_starts[buckets]);
    std::vector<std::uint32_t> next(m_starts.begin(), m_starts.end() - 1);
    forEachCombination(ranges,
                       [&](const std::array<std::int32_t, mostElements>& counts, double mass) {
                           m_entries[next[bucketOf(mass)]++] = {mass, counts};
                       });
}

} // namespace orvane::find
