#pragma once

#include <optional>
#include <vector>

#include "measured/spectrum.h"

namespace orvane::measured {

// One cluster of the theoretical pattern: its m/z and its intensity in % of the tallest.
struct TheoreticalCluster {
    double mz = 0;
    double intensity = 0;
};

// Clusters below this intensity (in %) take no part in the comparison.
inline constexpr double matchedClusterMinimum = 0.1;

// One cluster set against the measured spectrum.
struct ClusterComparison {
    double mz = 0;              // the cluster's m/z
    double theoryPercent = 0;   // the cluster's intensity as given
    double measured = 0;        // the measured intensities summed over the cluster's window
    double measuredPercent = 0; // measured in % of the largest measured value (that one is 100)
    double difference = 0;      // measuredPercent - theoryPercent
};

struct ClusterMatch {
    std::vector<ClusterComparison> clusters; // the clusters of at least 0.1 %, in the given order
    double score = 0; // cosine of the theoretical and measured vectors, 0 to 1
};

// An m/z interval low <= m/z < high.
struct MzRange {
    double low = 0;
    double high = 0;
};

// The tallest measured point of a range and the factor that draws it at 100.
struct DisplayScale {
    double factor = 0;
    double basePeakMz = 0;
    double basePeakIntensity = 0;
};

/// The half width of a cluster's window, 0.5 / |charge| (charge not 0): the window of a
/// cluster ends where the next whole-mass cluster's begins.
double clusterHalfWidth(int charge);

/// Compares the clusters of at least 0.1 % with the spectrum: each one's measured value is the
/// sum of the intensities of the points at mz - w <= m/z < mz + w, w = clusterHalfWidth(charge)
/// (for profile data too: the points are summed as they are, not integrated, which on an even
/// m/z grid differs from the area by the constant step only). The score is the cosine of the
/// two vectors, 0 when either is all zero.
ClusterMatch matchClusters(const std::vector<TheoreticalCluster>& theory, int charge,
                           const Spectrum& measured);

/// The m/z range the clusters of at least 0.1 % cover with their windows, from the lowest
/// one's window start to the highest one's window end; nothing when there is no such cluster.
std::optional<MzRange> clusterRange(const std::vector<TheoreticalCluster>& theory, int charge);

/// The scale that draws the spectrum's tallest point inside the range at 100, with that point
/// (the lowest m/z among equals); nothing when no point inside has an intensity above 0.
std::optional<DisplayScale> displayScale(const Spectrum& measured, const MzRange& range);

} // namespace orvane::measured
