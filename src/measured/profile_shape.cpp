#include "measured/profile_shape.h"

#include <algorithm>
#include <vector>

namespace orvane::measured {

namespace {

constexpr std::size_t fewestProfilePoints = 16;
constexpr double largestRelativeStep = 3e-5;
constexpr double evenStepShare = 0.6;

} // namespace

bool looksLikeProfile(const Spectrum& points) {
    const std::size_t n = points.size();
    if (n < fewestProfilePoints) {
        return false;
    }
    std::vector<double> relativeSteps;
    relativeSteps.reserve(n - 1);
    std::size_t even = 0;
    double previous = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double step = points.mz[i] - points.mz[i - 1];
        if (!(step > 0) || !(points.mz[i] > 0)) {
            previous = 0;
            continue;
        }
        relativeSteps.push_back(step / points.mz[i]);
        if (previous > 0 && step >= 0.8 * previous && step <= 1.25 * previous) {
            ++even;
        }
        previous = step;
    }
    if (relativeSteps.size() < fewestProfilePoints - 1) {
        return false;
    }
    const auto middle =
        relativeSteps.begin() + static_cast<std::ptrdiff_t>(relativeSteps.size() / 2);
    std::nth_element(relativeSteps.begin(), middle, relativeSteps.end());
    return *middle < largestRelativeStep &&
           static_cast<double>(even) >=
               evenStepShare * static_cast<double>(relativeSteps.size() - 1);
}

} // namespace orvane::measured
