#pragma once

#include <cstddef>
#include <span>
#include <stop_token>
#include <vector>

namespace orvane::profile {

/// FWHM / sigma of a Gaussian: 2 sqrt(2 ln 2).
inline constexpr double fwhmPerSigma = 2.3548200450309493;

/// How far from its centre a Gaussian is sampled, in sigmas: beyond, it is below 1.6e-8
/// of its own height.
inline constexpr double gaussianReach = 6.0;

/// The most points a sampled profile may have.
inline constexpr std::size_t maxProfilePoints = 5'000'000;

// One Gaussian of a profile, in m/z units.
struct GaussianLine {
    double mz = 0;
    double area = 0;
    double sigma = 0; // > 0
};

// A closed m/z interval, lower < upper.
struct MzRange {
    double lower = 0;
    double upper = 0;
};

struct ProfilePoint {
    double mz = 0;
    double intensity = 0;
};

// A sum of Gaussians on a grid.
struct SampledSum {
    std::vector<ProfilePoint> points;
    double step = 0; // of the grid: the spacing within a run
};

/// The sum of the lines (any order) sampled on the grid lower + k * h of `range`, with h
/// the largest step not above `step` that puts a grid point on the upper end. Only the
/// grid points within gaussianReach sigmas of some line are sampled, and the two ends of
/// the range: runs of evenly spaced points, with gaps where every line is below 1.6e-8
/// of its own height, which a straight line across draws as what it is, zero. Raises
/// text::Error when the points would exceed maxProfilePoints, Cancelled when `stop` is
/// requested (checked every thousand lines).
SampledSum sampleGaussianSum(std::span<const GaussianLine> lines, const MzRange& range, double step,
                             std::stop_token stop = {});

} // namespace orvane::profile
