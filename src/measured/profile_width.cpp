#include "measured/profile_width.h"

#include <algorithm>

namespace orvane::measured {

std::optional<double> profileResolvingPower(const Spectrum& points, double mz, double window) {
    const std::optional<std::size_t> apex = tallestNear(points, mz, window);
    if (!apex) {
        return std::nullopt;
    }
    const double half = points.intensity[*apex] / 2;
    std::size_t left = *apex;
    while (left > 0 && points.intensity[left - 1] >= half) {
        --left;
    }
    std::size_t right = *apex;
    while (right + 1 < points.size() && points.intensity[right + 1] >= half) {
        ++right;
    }
    if (left == 0 || right + 1 >= points.size() || right - left < 1) {
        return std::nullopt;
    }
    // where the straight line between the last point above half and the first below it
    // crosses half
    const auto crossing = [&](std::size_t inside, std::size_t outside) {
        const double y0 = points.intensity[inside];
        const double y1 = points.intensity[outside];
        return points.mz[inside] +
               (points.mz[outside] - points.mz[inside]) * (y0 - half) / (y0 - y1);
    };
    const double width = crossing(right, right + 1) - crossing(left, left - 1);
    if (!(width > 0)) {
        return std::nullopt;
    }
    return points.mz[*apex] / width;
}

} // namespace orvane::measured
