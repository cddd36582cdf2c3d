#include "find/mass_pair_table.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace orvane::find {

namespace {

// Enough buckets that a narrow window touches one or two; no more, as they are cleared for
// every search.
constexpr double largestBucketCount = 1 << 16;

} // namespace

bool MassPairTable::fits(long long firstMinimum, long long firstMaximum, long long secondMinimum,
                         long long secondMaximum) {
    const long long first = firstMaximum - firstMinimum + 1;
    const long long second = secondMaximum - secondMinimum + 1;
    return first > 0 && second > 0 && first <= largestSize && second <= largestSize / first;
}

MassPairTable::MassPairTable(double firstMass, long long firstMinimum, long long firstMaximum,
                             double secondMass, long long secondMinimum, long long secondMaximum,
                             double bucketWidth) {
    assert(fits(firstMinimum, firstMaximum, secondMinimum, secondMaximum));
    assert(firstMass > 0 && secondMass > 0 && bucketWidth > 0);
    m_origin = static_cast<double>(firstMinimum) * firstMass +
               static_cast<double>(secondMinimum) * secondMass;
    m_highest = static_cast<double>(firstMaximum) * firstMass +
                static_cast<double>(secondMaximum) * secondMass;
    m_perWidth = 1 / std::max(bucketWidth, (m_highest - m_origin) / largestBucketCount);
    const std::size_t buckets = bucketOf(m_highest) + 1;
    // a counting sort by bucket: count, then place
    m_starts.assign(buckets + 1, 0);
    for (long long a = firstMinimum; a <= firstMaximum; ++a) {
        for (long long b = secondMinimum; b <= secondMaximum; ++b) {
            const double mass =
                static_cast<double>(a) * firstMass + static_cast<double>(b) * secondMass;
            ++m_starts[bucketOf(mass) + 1];
        }
    }
    for (std::size_t i = 1; i <= buckets; ++i) {
        m_starts[i] += m_starts[i - 1];
    }
    m_entries.resize(m_starts[buckets]);
    std::vector<std::uint32_t> next(m_starts.begin(), m_starts.end() - 1);
    for (long long a = firstMinimum; a <= firstMaximum; ++a) {
        for (long long b = secondMinimum; b <= secondMaximum; ++b) {
            const double mass =
                static_cast<double>(a) * firstMass + static_cast<double>(b) * secondMass;
            m_entries[next[bucketOf(mass)]++] = {mass, static_cast<std::int32_t>(a),
                                                 static_cast<std::int32_t>(b)};
        }
    }
}

} // namespace orvane::find
