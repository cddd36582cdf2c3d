#include "measured/cluster_match.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>

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

// The line nearest to `mz` within the tolerance, if any; lines sorted by m/z.
std::optional<std::size_t> nearestLine(const std::vector<TheoreticalPeak>& lines, double mz,
                                       const MatchTolerance& tolerance) {
    const auto above =
        std::lower_bound(lines.begin(), lines.end(), mz,
                         [](const TheoreticalPeak& line, double value) { return line.mz < value; });
    std::optional<std::size_t> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (auto it : {above - (above == lines.begin() ? 0 : 1), above}) {
        if (it == lines.end()) {
            continue;
        }
        const double distance = std::fabs(it->mz - mz);
        if (distance <= matchWindowAt(it->mz, tolerance) && distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::size_t>(it - lines.begin());
        }
    }
    return best;
}

std::optional<DisplayScale> tallestIn(const Spectrum& measured, std::size_t first,
                                      std::size_t last) {
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

// A peak as a centroid reads it from points first <= i < last (x ascending): the sum of
// the points above half the tallest, around it, and their intensity-weighted m/z.
struct HalfApexPeak {
    double mz = 0;
    double sum = 0;
};
HalfApexPeak aboveHalfApex(const std::vector<double>& x, const std::vector<double>& y,
                           std::size_t first, std::size_t last) {
    const auto apex =
        static_cast<std::size_t>(std::max_element(y.begin() + static_cast<std::ptrdiff_t>(first),
                                                  y.begin() + static_cast<std::ptrdiff_t>(last)) -
                                 y.begin());
    const double half = y[apex] / 2;
    std::size_t from = apex;
    while (from > first && y[from - 1] >= half) {
        --from;
    }
    std::size_t to = apex;
    while (to + 1 < last && y[to + 1] >= half) {
        ++to;
    }
    long double sum = 0;
    long double moment = 0;
    for (std::size_t i = from; i <= to; ++i) {
        sum += y[i];
        moment += static_cast<long double>(y[i]) * x[i];
    }
    return {static_cast<double>(moment / sum), static_cast<double>(sum)};
}

} // namespace

double toleranceAt(double mz, const MatchTolerance& tolerance) {
    if (tolerance.ppm) {
        return std::fabs(mz) * *tolerance.ppm * 1e-6;
    }
    assert(tolerance.resolvingPower > 0);
    return std::fabs(mz) / tolerance.resolvingPower;
}

double matchWindowAt(double mz, const MatchTolerance& tolerance) {
    if (tolerance.ppm) {
        return toleranceAt(mz, tolerance);
    }
    return std::max(toleranceAt(mz, tolerance), std::fabs(mz) * matchFloorPpm * 1e-6);
}

double clusterHalfWidth(int charge) {
    assert(charge != 0);
    return 0.5 / std::abs(charge);
}

Spectrum peaksOf(const Spectrum& spectrum, bool profile) {
    if (!profile) {
        return spectrum;
    }
    Spectrum peaks;
    const std::vector<double>& y = spectrum.intensity;
    const std::vector<double>& x = spectrum.mz;
    // a run's peak is its points above half its apex, as a centroid reads it: a floor or a
    // neighbour's flank in the run moves neither its m/z nor its height
    std::size_t start = 0;
    const auto close = [&](std::size_t end) {
        if (end > start && *std::max_element(y.begin() + static_cast<std::ptrdiff_t>(start),
                                             y.begin() + static_cast<std::ptrdiff_t>(end)) > 0) {
            const HalfApexPeak peak = aboveHalfApex(x, y, start, end);
            peaks.mz.push_back(peak.mz);
            peaks.intensity.push_back(peak.sum);
        }
    };
    bool fallen = false; // since the peak began, also where a flat floor follows the fall
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        if (!(y[i] > 0)) {
            close(i);
            start = i + 1;
            fallen = false;
            continue;
        }
        // a rise after a fall starts the next peak; a step far wider than the last is a gap
        const bool rises = i > start && y[i] > y[i - 1] && fallen;
        const bool gap = i >= start + 2 && x[i] - x[i - 1] > 4 * (x[i - 1] - x[i - 2]);
        if (rises || gap) {
            close(i);
            start = i;
            fallen = false;
        } else if (i > start && y[i] < y[i - 1]) {
            fallen = true;
        }
    }
    close(spectrum.size());
    return peaks;
}

std::vector<TheoreticalPeak> mergeAsProfile(std::vector<TheoreticalPeak> lines,
                                            double resolvingPower) {
    assert(resolvingPower > 0);
    std::sort(lines.begin(), lines.end(),
              [](const TheoreticalPeak& a, const TheoreticalPeak& b) { return a.mz < b.mz; });
    constexpr double fwhmPerSigma = 2.3548200450309493; // 2 sqrt(2 ln 2)
    std::vector<TheoreticalPeak> merged;
    std::size_t begin = 0;
    while (begin < lines.size()) {
        // a run: lines each within three FWHM of the one before, beyond which no profile joins
        std::size_t end = begin + 1;
        while (end < lines.size() &&
               lines[end].mz - lines[end - 1].mz <= 3 * std::fabs(lines[end].mz) / resolvingPower) {
            ++end;
        }
        const double sigma = std::fabs(lines[begin].mz) / resolvingPower / fwhmPerSigma;
        // the lines within eight sigma of x, found by halving, make the profile there
        const auto profileAt = [&](double x) {
            const auto nearest = std::lower_bound(
                lines.begin() + static_cast<std::ptrdiff_t>(begin),
                lines.begin() + static_cast<std::ptrdiff_t>(end), x - 8 * sigma,
                [](const TheoreticalPeak& line, double value) { return line.mz < value; });
            long double y = 0;
            for (auto it = nearest;
                 it != lines.begin() + static_cast<std::ptrdiff_t>(end) && it->mz <= x + 8 * sigma;
                 ++it) {
                const double z = (x - it->mz) / sigma;
                y += it->intensity * std::exp(-0.5 * z * z);
            }
            return static_cast<double>(y);
        };
        // the profile's local minima between the run's first and last line, sampled at a
        // quarter sigma
        std::vector<double> cuts;
        const double step = sigma / 4;
        const double from = lines[begin].mz;
        const auto samples = static_cast<std::size_t>((lines[end - 1].mz - from) / step);
        double before = profileAt(from);
        double here = samples > 0 ? profileAt(from + step) : before;
        for (std::size_t k = 1; k < samples; ++k) {
            const double after = profileAt(from + static_cast<double>(k + 1) * step);
            if (here < before && here <= after) {
                cuts.push_back(from + static_cast<double>(k) * step);
            }
            before = here;
            here = after;
        }
        // each part between two cuts is one peak: the sum of its lines, centred where a
        // centroid of the profile reads it, over the points above half its apex
        const auto centreOf = [&](std::size_t first, std::size_t last, double low, double high) {
            if (last - first == 1) {
                return lines[first].mz;
            }
            low = std::max(low, lines[first].mz - 3 * sigma);
            high = std::min(high, lines[last - 1].mz + 3 * sigma);
            const double fine = sigma / 8;
            std::vector<double> xs;
            std::vector<double> ys;
            for (double x = low; x <= high; x += fine) {
                xs.push_back(x);
                ys.push_back(profileAt(x));
            }
            return aboveHalfApex(xs, ys, 0, ys.size()).mz;
        };
        std::size_t first = begin;
        for (std::size_t part = 0; part <= cuts.size(); ++part) {
            const double low =
                part == 0 ? -std::numeric_limits<double>::infinity() : cuts[part - 1];
            const double high =
                part == cuts.size() ? std::numeric_limits<double>::infinity() : cuts[part];
            std::size_t last = first;
            while (last < end && lines[last].mz <= high) {
                ++last;
            }
            if (last == first) {
                continue;
            }
            TheoreticalPeak peak;
            long double sum = 0;
            double tallest = -1;
            for (std::size_t i = first; i < last; ++i) {
                sum += lines[i].intensity;
                if (lines[i].intensity > tallest) {
                    tallest = lines[i].intensity;
                    peak.cluster = lines[i].cluster;
                }
            }
            peak.intensity = static_cast<double>(sum);
            peak.mz = sum > 0 ? centreOf(first, last, low, high) : lines[first].mz;
            merged.push_back(peak);
            first = last;
        }
        begin = end;
    }
    return merged;
}

std::vector<TheoreticalPeak> mergeUnresolved(std::vector<TheoreticalPeak> lines,
                                             const MatchTolerance& tolerance) {
    std::sort(lines.begin(), lines.end(),
              [](const TheoreticalPeak& a, const TheoreticalPeak& b) { return a.mz < b.mz; });
    std::vector<TheoreticalPeak> merged;
    long double moment = 0;
    long double sum = 0;
    double tallest = 0;
    for (const TheoreticalPeak& line : lines) {
        if (!merged.empty() && line.mz - merged.back().mz <= toleranceAt(line.mz, tolerance)) {
            sum += line.intensity;
            moment += static_cast<long double>(line.intensity) * line.mz;
            if (line.intensity > tallest) {
                tallest = line.intensity;
                merged.back().cluster = line.cluster;
            }
            merged.back().intensity = static_cast<double>(sum);
            merged.back().mz = sum > 0 ? static_cast<double>(moment / sum) : line.mz;
            continue;
        }
        merged.push_back(line);
        sum = line.intensity;
        moment = static_cast<long double>(line.intensity) * line.mz;
        tallest = line.intensity;
    }
    return merged;
}

ClusterMatch matchClusters(const std::vector<TheoreticalCluster>& clusters,
                           const std::vector<TheoreticalPeak>& lines, int charge,
                           const Spectrum& measuredPeaks, const MatchTolerance& tolerance) {
    assert(std::is_sorted(
        lines.begin(), lines.end(),
        [](const TheoreticalPeak& a, const TheoreticalPeak& b) { return a.mz < b.mz; }));
    ClusterMatch match;
    const std::optional<MzRange> range = clusterRange(clusters, charge);
    if (!range) {
        return match;
    }
    match.range = *range;

    std::vector<long double> matched(lines.size(), 0);
    std::vector<long double> clusterSum(clusters.size(), 0);
    std::vector<long double> clusterMoment(clusters.size(), 0);
    std::vector<long double> clusterError(clusters.size(), 0); // intensity x ppm of its line
    double tallestInRange = 0;
    long double unexplainedSquares = 0;
    long double unexplained = 0;
    long double total = 0;
    const auto [first, last] = pointsIn(measuredPeaks, *range);
    for (std::size_t i = first; i < last; ++i) {
        const double intensity = measuredPeaks.intensity[i];
        if (intensity > 0) {
            match.measuredInRange = true;
        }
        total += intensity;
        tallestInRange = std::max(tallestInRange, intensity);
        const std::optional<std::size_t> line = nearestLine(lines, measuredPeaks.mz[i], tolerance);
        if (!line) {
            unexplained += intensity;
            unexplainedSquares += static_cast<long double>(intensity) * intensity;
            continue;
        }
        matched[*line] += intensity;
        const std::size_t cluster = lines[*line].cluster;
        assert(cluster < clusters.size());
        clusterSum[cluster] += intensity;
        clusterMoment[cluster] += static_cast<long double>(intensity) * measuredPeaks.mz[i];
        clusterError[cluster] += static_cast<long double>(intensity) *
                                 (measuredPeaks.mz[i] - lines[*line].mz) / lines[*line].mz * 1e6L;
    }

    long double dot = 0;
    long double theorySquares = 0;
    long double measuredSquares = unexplainedSquares;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        // lines of clusters that take no part count only where something was measured
        if (!takesPart(clusters[lines[j].cluster]) && matched[j] == 0) {
            continue;
        }
        const auto theory = static_cast<long double>(lines[j].intensity);
        dot += theory * matched[j];
        theorySquares += theory * theory;
        measuredSquares += matched[j] * matched[j];
    }
    if (theorySquares > 0 && measuredSquares > 0) {
        const long double cosine = dot / std::sqrt(theorySquares * measuredSquares);
        // rounding can put a perfect match a hair above 1; negative intensities below 0
        match.score = static_cast<double>(std::clamp(cosine, 0.0L, 1.0L));
    }
    match.unexplained = total > 0 ? static_cast<double>(unexplained / total) : 0;

    double largest = 0;
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        if (!takesPart(clusters[c])) {
            continue;
        }
        ClusterComparison comparison;
        comparison.mz = clusters[c].mz;
        comparison.theoryPercent = clusters[c].intensity;
        comparison.measured = static_cast<double>(clusterSum[c]);
        if (clusterSum[c] > 0) {
            comparison.measuredMz = static_cast<double>(clusterMoment[c] / clusterSum[c]);
            comparison.ppm = static_cast<double>(clusterError[c] / clusterSum[c]);
        }
        largest = std::max(largest, comparison.measured);
        match.clusters.push_back(comparison);
    }
    // an unmatched base peak still sets the scale: the rows say how tall each is beside it
    largest = std::max(largest, tallestInRange);
    for (ClusterComparison& comparison : match.clusters) {
        comparison.measuredPercent = largest > 0 ? comparison.measured / largest * 100 : 0;
        comparison.difference = comparison.measuredPercent - comparison.theoryPercent;
    }
    return match;
}

ClusterMatch matchClusters(const std::vector<TheoreticalCluster>& clusters, int charge,
                           const Spectrum& measuredPeaks, const MatchTolerance& tolerance) {
    std::vector<TheoreticalPeak> lines;
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        lines.push_back({clusters[c].mz, clusters[c].intensity, c});
    }
    std::sort(lines.begin(), lines.end(),
              [](const TheoreticalPeak& a, const TheoreticalPeak& b) { return a.mz < b.mz; });
    return matchClusters(clusters, lines, charge, measuredPeaks, tolerance);
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
    return tallestIn(measured, first, last);
}

std::optional<DisplayScale> basePeak(const Spectrum& measured) {
    return tallestIn(measured, 0, measured.size());
}

} // namespace orvane::measured
