#include "profile/gaussian_sum.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>
#include <string>

#include "profile/cancelled.h"
#include "text/error.h"

namespace orvane::profile {

namespace {

// Wider grids than this leave the exact range of long long indices and of doubles.
constexpr double maxGridSteps = 1e15;
constexpr std::size_t linesBetweenStopChecks = 1024;

// The grid points [first, last] one line reaches; a range end has no line.
struct Window {
    long long first = 0;
    long long last = 0;
    const GaussianLine* line = nullptr;
};

// Evenly spaced grid points [first, last], stored from `offset` on.
struct Run {
    long long first = 0;
    long long last = 0;
    std::size_t offset = 0;
};

// Adds area * N(mz, sigma) at the grid points [first, last] of lower + k * h. The
// Gaussian's ratio between neighbouring points is itself a geometric sequence, so three
// exponentials per line do what one per point would: exact to rounding, and the two
// recurrences run outward from the point nearest the centre.
void addGaussian(const GaussianLine& line, long long first, long long last, double lower, double h,
                 double* values) {
    const double a = 0.5 / (line.sigma * line.sigma);
    const double height = line.area / (line.sigma * std::sqrt(2 * std::numbers::pi));
    const long long centre = std::clamp(std::llround((line.mz - lower) / h), first, last);
    const double d0 = lower + static_cast<double>(centre) * h - line.mz;
    const double c = std::exp(-2 * a * h * h);
    const double rightRatio = std::exp(-a * (2 * d0 * h + h * h));
    const double leftRatio = c / rightRatio;
    const double atCentre = height * std::exp(-a * d0 * d0);

    // both sides in one loop while both last: two independent chains run side by side
    double* right = values + (centre - first);
    double* left = right - 1;
    double rightValue = atCentre;
    double leftValue = atCentre * leftRatio;
    double rightStep = rightRatio;
    double leftStep = leftRatio * c;
    const long long both = std::min(last - centre + 1, centre - first);
    for (long long j = 0; j < both; ++j) {
        *right++ += rightValue;
        *left-- += leftValue;
        rightValue *= rightStep;
        leftValue *= leftStep;
        rightStep *= c;
        leftStep *= c;
    }
    for (long long k = centre + both; k <= last; ++k) {
        *right++ += rightValue;
        rightValue *= rightStep;
        rightStep *= c;
    }
    for (long long k = centre - 1 - both; k >= first; --k) {
        *left-- += leftValue;
        leftValue *= leftStep;
        leftStep *= c;
    }
}

} // namespace

SampledSum sampleGaussianSum(std::span<const GaussianLine> lines, const MzRange& range, double step,
                             std::stop_token stop) {
    assert(range.lower < range.upper && step > 0);
    const double steps = std::ceil((range.upper - range.lower) / step);
    if (!(steps <= maxGridSteps)) {
        throw text::Error("The m/z range is too wide for the resolving power.");
    }
    const long long gridLast = std::max(1LL, static_cast<long long>(steps));
    const double h = (range.upper - range.lower) / static_cast<double>(gridLast);

    std::vector<Window> windows;
    windows.reserve(lines.size() + 2);
    windows.push_back({0, 0, nullptr});
    for (const GaussianLine& line : lines) {
        assert(line.sigma > 0);
        const double reach = gaussianReach * line.sigma;
        const double first = std::max(0.0, std::ceil((line.mz - reach - range.lower) / h));
        const double last = std::min(static_cast<double>(gridLast),
                                     std::floor((line.mz + reach - range.lower) / h));
        if (first <= last) {
            windows.push_back({static_cast<long long>(first), static_cast<long long>(last), &line});
        }
    }
    windows.push_back({gridLast, gridLast, nullptr});
    // fine peaks come sorted already; clusters of differing widths may not
    const auto byFirst = [](const Window& a, const Window& b) { return a.first < b.first; };
    if (!std::is_sorted(windows.begin(), windows.end(), byFirst)) {
        std::sort(windows.begin(), windows.end(), byFirst);
    }
    throwIfStopRequested(stop);

    // overlapping or touching windows make one run
    std::vector<Run> runs;
    std::size_t points = 0;
    for (const Window& window : windows) {
        if (!runs.empty() && window.first <= runs.back().last + 1) {
            runs.back().last = std::max(runs.back().last, window.last);
        } else {
            runs.push_back({window.first, window.last, 0});
        }
    }
    for (Run& run : runs) {
        run.offset = points;
        points += static_cast<std::size_t>(run.last - run.first + 1);
    }
    if (points > maxProfilePoints) {
        throw text::Error("The profile would need " + std::to_string(points) +
                          " points, more than " + std::to_string(maxProfilePoints) +
                          "; lower the resolving power or narrow the m/z range.");
    }

    std::vector<double> values(points, 0.0);
    std::size_t runIndex = 0;
    std::size_t done = 0;
    for (const Window& window : windows) {
        while (runs[runIndex].last < window.first) {
            ++runIndex;
        }
        if (window.line != nullptr) {
            const Run& run = runs[runIndex];
            addGaussian(*window.line, window.first, window.last, range.lower, h,
                        values.data() + run.offset + (window.first - run.first));
            if (++done % linesBetweenStopChecks == 0) {
                throwIfStopRequested(stop);
            }
        }
    }

    SampledSum result;
    result.step = h;
    result.points.reserve(points);
    for (const Run& run : runs) {
        for (long long k = run.first; k <= run.last; ++k) {
            result.points.push_back({range.lower + static_cast<double>(k) * h,
                                     values[run.offset + static_cast<std::size_t>(k - run.first)]});
        }
    }
    return result;
}

} // namespace orvane::profile
