#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "measured/spectrum.h"

namespace orvane::measured {

// One cluster of the theoretical pattern: its m/z and its intensity in % of the tallest.
struct TheoreticalCluster {
    double mz = 0;
    double intensity = 0;
};

// One line of the theory as the instrument shows it (fine peaks it does not separate merged),
// with the cluster it belongs to.
struct TheoreticalPeak {
    double mz = 0;
    double intensity = 0;    // in any unit common to all peaks
    std::size_t cluster = 0; // index into the clusters
};

// Clusters below this intensity (in %) take no part in the comparison.
inline constexpr double matchedClusterMinimum = 0.1;

// How near a measured peak must lie to a theoretical one to be explained by it.
struct MatchTolerance {
    double resolvingPower = 60'000; // one FWHM, m/z / R, when no ppm are given
    std::optional<double> ppm;      // a fixed tolerance in ppm of the m/z instead
};

/// The distance in m/z within which two lines at `mz` are not told apart: the ppm given, else
/// one FWHM.
double toleranceAt(double mz, const MatchTolerance& tolerance);

// The mass accuracy an instrument keeps besides its resolving power: at a resolving power of
// a million one FWHM is 1 ppm, tighter than the calibration of a real spectrum.
inline constexpr double matchFloorPpm = 3;

/// The largest distance in m/z at which a measured peak matches a line at `mz`: the ppm
/// given, else one FWHM but at least matchFloorPpm.
double matchWindowAt(double mz, const MatchTolerance& tolerance);

// One cluster set against the measured spectrum.
struct ClusterComparison {
    double mz = 0;            // the cluster's m/z
    double theoryPercent = 0; // the cluster's intensity as given
    double measured = 0;      // the measured peaks matched to the cluster's lines, summed
    // measured in % of the range's measured base: the largest of the clusters' measured values
    // and the tallest measured peak of the range, matched or not
    double measuredPercent = 0;
    double difference = 0;            // measuredPercent - theoryPercent
    std::optional<double> measuredMz; // intensity-weighted centre of the matched peaks
    // the matched peaks' errors in ppm of the lines each matched, intensity-weighted: at a
    // resolving power that separates the fine structure, a peak is measured against its own
    // fine peak, not the cluster's mean
    std::optional<double> ppm;
};

// An m/z interval low <= m/z < high.
struct MzRange {
    double low = 0;
    double high = 0;
};

struct ClusterMatch {
    std::vector<ClusterComparison> clusters; // the clusters of at least 0.1 %, in the given order
    // Cosine over the union of the theoretical lines and the measured peaks of the range,
    // each missing partner counted as 0, so that unexplained intensity lowers it; 0 to 1.
    double score = 0;
    double unexplained = 0;       // share of the measured intensity in the range no line explains
    MzRange range;                // the ion's range, where every measured peak counts
    bool measuredInRange = false; // some measured peak above 0 lies in the range
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

/// The peaks of a spectrum: every point of a centroided one; of a profile, each run of
/// points from one local minimum (or zero, or gap, or the end of a flat floor between two
/// peaks) to the next as one peak, read as a centroid reads it: its intensity the sum of
/// its points above half its apex, its m/z their intensity-weighted centre.
Spectrum peaksOf(const Spectrum& spectrum, bool profile);

/// The lines sorted by m/z with neighbours closer than the tolerance merged (summed, at
/// their intensity-weighted centre; a merged line keeps the cluster of its tallest part).
std::vector<TheoreticalPeak> mergeUnresolved(std::vector<TheoreticalPeak> lines,
                                             const MatchTolerance& tolerance);

/// The lines sorted by m/z as a profile at the resolving power shows them: the sum of
/// Gaussians of one FWHM (m/z / R) at the lines is cut at each of its local minima, and the
/// lines between two cuts become one line (summed; the cluster of the tallest part) where a
/// centroid of that profile peak lies: the intensity-weighted m/z of its points above half
/// its apex. Lines a profile
/// does not separate merge however far apart a chain of them reaches, and a small line on
/// the flank of a tall one merges with it.
std::vector<TheoreticalPeak> mergeAsProfile(std::vector<TheoreticalPeak> lines,
                                            double resolvingPower);

/// Compares the theory with the measured peaks (m/z ascending). Each measured peak inside
/// the ion's range (clusterRange) is matched to the nearest line within the tolerance or
/// left unexplained. Per cluster of at least 0.1 %: the matched intensity, its weighted
/// m/z and error in ppm; the score is the cosine over the union (see ClusterMatch).
ClusterMatch matchClusters(const std::vector<TheoreticalCluster>& clusters,
                           const std::vector<TheoreticalPeak>& lines, int charge,
                           const Spectrum& measuredPeaks, const MatchTolerance& tolerance);

/// matchClusters with each cluster as its own line.
ClusterMatch matchClusters(const std::vector<TheoreticalCluster>& clusters, int charge,
                           const Spectrum& measuredPeaks, const MatchTolerance& tolerance);

/// The m/z range the clusters of at least 0.1 % cover with their windows, from the lowest
/// one's window start to the highest one's window end; nothing when there is no such cluster.
std::optional<MzRange> clusterRange(const std::vector<TheoreticalCluster>& theory, int charge);

/// The scale that draws the spectrum's tallest point inside the range at 100, with that point
/// (the lowest m/z among equals); nothing when no point inside has an intensity above 0.
std::optional<DisplayScale> displayScale(const Spectrum& measured, const MzRange& range);

/// The tallest point of the whole spectrum (the lowest m/z among equals), as a scale for
/// that point; nothing when no point is above 0.
std::optional<DisplayScale> basePeak(const Spectrum& measured);

} // namespace orvane::measured
