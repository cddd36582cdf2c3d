#pragma once

#include <cstddef>
#include <optional>
#include <stop_token>
#include <vector>

#include "profile/fine_structure.h"
#include "profile/gaussian_sum.h"
#include "profile/profile_input.h"

namespace orvane::profile {

// How the profile is made:
// - Each fine peak is a Gaussian whose area, not height, is its probability, so that a
//   cluster's one Gaussian (variance the instrument's plus its own) has the area of its
//   fine peaks and the two ways agree where the instrument hides the fine structure.
// - Coverage 0.9999 keeps insulin's profile within 0.008 % of the tallest point of the
//   complete fine structure's at every R from 10^3 to 10^7 (0.999: 0.08 %, 0.99: 0.8 %):
//   the missing probability spreads over the whole envelope; where a missing peak stands
//   alone it is smaller than every peak kept.
// - Only the grid points within 6 sigma of some peak are sampled (gaussian_sum.h). At
//   R = 10^7 insulin's envelope, 17 u wide with its margins, would take 590,000 evenly
//   spaced points at 20 per FWHM; its isotopologues sit in clusters a few hundredths of
//   a u wide, and the runs around them take 28,000. The count is at most about 100 per
//   peak and never more than the even grid; above maxProfilePoints it is refused.
// - Above maxFinePeaks fine peaks (albumin has 2.2 million at 0.9999) the clusters stand
//   in, and so they do where IsoSpec would build more than that allows on the way to the
//   coverage (Zn5000 at any coverage: 600 MB of marginals for a few peaks at 0.0001).

// A line of the stick spectrum under the profile: a fine peak or a cluster.
struct Peak {
    double mz = 0;
    double intensity = 0; // per cent of the tallest stick
};

/// The lowest resolving power a profile is drawn at.
inline constexpr double minResolvingPower = 10;

// How a profile is computed.
struct ProfileSettings {
    double resolvingPower = 60'000; // m/z over FWHM, at least minResolvingPower
    double coverage = 0.9999;       // of the fine structure
    std::optional<MzRange> range;   // by default lowest line - 4 FWHM to highest + 4 FWHM
    std::size_t maxFinePeaks = defaultMaxFinePeaks;
    int samplesPerFwhm = 20; // at the narrowest line
    // the fine peaks' isotope counts are kept up to this many isotopologues (0: never)
    std::size_t compositionLimit = 0;
};

// What a high-resolution instrument shows of an ion.
struct Profile {
    // Runs of evenly spaced points (step apart) with gaps where the profile is zero to
    // 1e-8 (gaussian_sum.h); the tallest point is exactly 100.
    std::vector<ProfilePoint> points;
    std::vector<Peak> sticks; // sorted by m/z, the tallest exactly 100
    bool fromFineStructure = false;
    double coverageReached = 0;    // total probability of the sticks
    std::size_t finePeakCount = 0; // 0 when the clusters were used
    double step = 0;
    double resolvingPower = 0;     // the settings' (fine structure only)
    FineCompositions compositions; // of the sticks, when asked for and not too many
};

/// The profile of the ion at the settings' resolving power: every fine peak (coverage
/// as set) a Gaussian of FWHM m/z / R and of area its probability, summed; when the
/// fine structure has more than maxFinePeaks peaks, one Gaussian per accurate cluster
/// instead (profileOfClusters). Raises text::Error for invalid settings or input, also
/// when the clusters are needed and the input has none; Cancelled when `stop` is
/// requested (inside IsoSpec only between its layers).
Profile computeProfile(const ProfileInput& input, const ProfileSettings& settings,
                       std::stop_token stop = {});

/// The profile of a fine structure that is not tooMany: one Gaussian per peak, of FWHM
/// m/z / R and area its probability; the sticks keep the peaks' compositions. Raises as
/// computeProfile.
Profile profileOfFineStructure(const FineStructure& fine, const ProfileSettings& settings,
                               std::stop_token stop = {});

/// The profile of the clusters of an ion of `charge`: one Gaussian per cluster, area its
/// probability, variance the instrument's, (m/z / R / fwhmPerSigma)^2, plus the
/// cluster's own mass variance / z^2. Raises as computeProfile, also when there are no
/// clusters, and names the cluster (from 1) whose m/z is not a number above 0 or whose
/// probability or variance is not a number of 0 or more.
Profile profileOfClusters(const std::vector<AccurateCluster>& clusters, int charge,
                          const ProfileSettings& settings, std::stop_token stop = {});

} // namespace orvane::profile
