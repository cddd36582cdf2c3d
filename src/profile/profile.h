#pragma once

#include <cstddef>
#include <optional>
#include <stop_token>
#include <vector>

#include "profile/fine_structure.h"
#include "profile/gaussian_sum.h"
#include "profile/profile_input.h"

namespace orvane::profile {

// A line of the stick spectrum under the profile: a fine peak or a cluster.
struct Peak {
    double mz = 0;
    double intensity = 0; // per cent of the tallest stick
};

// How a profile is computed.
struct ProfileSettings {
    double resolvingPower = 60'000; // m/z over FWHM
    double coverage = 0.9999;       // of the fine structure
    std::optional<MzRange> range;   // by default lowest line - 4 FWHM to highest + 4 FWHM
    std::size_t maxFinePeaks = defaultMaxFinePeaks;
    int samplesPerFwhm = 20; // at the narrowest line
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
};

/// The profile of the ion at the settings' resolving power: every fine peak (coverage
/// as set) a Gaussian of FWHM m/z / R and of area its probability, summed; when the
/// fine structure has more than maxFinePeaks peaks, one Gaussian per accurate cluster
/// instead (profileOfClusters). Raises text::Error for invalid settings or input, also
/// when the clusters are needed and the input has none; Cancelled when `stop` is
/// requested.
Profile computeProfile(const ProfileInput& input, const ProfileSettings& settings,
                       std::stop_token stop = {});

/// The profile of a fine structure that is not tooMany: one Gaussian per peak, of FWHM
/// m/z / R and area its probability. Raises as computeProfile.
Profile profileOfFineStructure(const FineStructure& fine, const ProfileSettings& settings,
                               std::stop_token stop = {});

/// The profile of the clusters of an ion of `charge`: one Gaussian per cluster, area its
/// probability, variance the instrument's, (m/z / R / fwhmPerSigma)^2, plus the
/// cluster's own mass variance / z^2. Raises as computeProfile, and names the cluster
/// (from 1) whose m/z, probability or variance is not a finite number (of 0 or more).
Profile profileOfClusters(const std::vector<AccurateCluster>& clusters, int charge,
                          const ProfileSettings& settings, std::stop_token stop = {});

} // namespace orvane::profile
