#include "measured/cluster_match.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace orvane::measured {

namespace {

// The points at low <= m/z < high, as index bounds.
std::pair<std::size_t, std::size_t> pointsIn(const Spectrum& spectrum, const MzRange& range) {
    const auto begin = spectrum.mz.begin();
    const auto first = std::lower_bound(begin, spectrum.mz.end(), range.low);
    const auto last = std::lower_bound(first, spectrum.mz.end(), range.high);
    return {static_cast<std::size_t>(first - begin), static_cast<std::size_t>(last - begin)};
}

bool takesPart(const TheoreticalCluster& cluster) {
    return cluster.intensity >= matchedClusterMinimum;
}

} // namespace

double clusterHalfWidth(int charge) {
    assert(charge != 0);
    return 0.5 / std::abs(charge);
}

ClusterMatch matchClusters(const std::vector<TheoreticalCluster>& theory, int charge,
                           const Spectrum& measured) {
    const double halfWidth = clusterHalfWidth(charge);
    ClusterMatch match;
    double largest = 0;
    long double dot = 0;
    long double theorySquares = 0;
    long double measuredSquares = 0;
    for (const TheoreticalCluster& cluster : theory) {
        if (!takesPart(cluster)) {
            continue;
        }
        const auto [first, last] =
            pointsIn(measured, {cluster.mz - halfWidth, cluster.mz + halfWidth});
        long double sum = 0;
        for (std::size_t i = first; i < last; ++i) {
            sum += measured.intensity[i];
        }
        ClusterComparison comparison;
        comparison.mz = cluster.mz;
        comparison.theoryPercent = cluster.intensity;
        comparison.measured = static_cast<double>(sum);
        largest = std::max(largest, comparison.measured);
        dot += static_cast<long double>(cluster.intensity) * comparison.measured;
        theorySquares += static_cast<long double>(cluster.intensity) * cluster.intensity;
        measuredSquares += static_cast<long double>(comparison.measured) * comparison.measured;
        match.clusters.push_back(comparison);
    }
    for (ClusterComparison& comparison : match.clusters) {
        comparison.measuredPercent = largest > 0 ? comparison.measured / largest * 100 : 0;
        comparison.difference = comparison.measuredPercent - comparison.theoryPercent;
    }
    if (theorySquares > 0 && measuredSquares > 0) {
        const long double cosine = dot / std::sqrt(theorySquares * measuredSquares);
        // rounding can put a perfect match a hair above 1; negative intensities below 0
        match.score = static_cast<double>(std::clamp(cosine, 0.0L, 1.0L));
    }
    return match;
}

std::optional<MzRange> clusterRange(const std::vector<TheoreticalCluster>& theory, int charge) {
    const double halfWidth = clusterHalfWidth(charge);
    std::optional<MzRange> range;
    for (const TheoreticalCluster& cluster : theory) {
        if (!takesPart(cluster)) {
            continue;
        }
        if (!range) {
            range = MzRange{cluster.mz, cluster.mz};
        }
        range->low = std::min(range->low, cluster.mz);
        range->high = std::max(range->high, cluster.mz);
    }
    if (range) {
        range->low -= halfWidth;
        range->high += halfWidth;
    }
    return range;
}

std::optional<DisplayScale> displayScale(const Spectrum& measured, const MzRange& range) {
    const auto [first, last] = pointsIn(measured, range);
    std::optional<std::size_t> tallest;
    for (std::size_t i = first; i < last; ++i) {
        if (measured.intensity[i] > 0 &&
            (!tallest || measured.intensity[i] > measured.intensity[*tallest])) {
            tallest = i;
        }
    }
    if (!tallest) {
        return std::nullopt;
    }
    DisplayScale scale;
    scale.basePeakMz = measured.mz[*tallest];
    scale.basePeakIntensity = measured.intensity[*tallest];
    scale.factor = 100 / scale.basePeakIntensity;
    return scale;
}

} // namespace orvane::measured
