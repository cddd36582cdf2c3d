#include "measured/cluster_spacing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "text/shortest_text.h"

namespace orvane::measured {

namespace {

// The spacing of neighbouring isotope clusters of a singly charged ion: 13C less 12C.
constexpr double clusterSpacing = 1.003355;
constexpr int largestCharge = 6;
constexpr double smallestPartner = 0.05;

} // namespace

std::optional<int> measuredCharge(const Spectrum& peaks, double mz, double window) {
    const std::optional<std::size_t> m = tallestNear(peaks, mz, window);
    if (!m) {
        return std::nullopt;
    }
    for (int z = largestCharge; z >= 1; --z) {
        const std::optional<std::size_t> next =
            tallestNear(peaks, peaks.mz[*m] + clusterSpacing / z, window);
        if (next && *next != *m &&
            peaks.intensity[*next] >= smallestPartner * peaks.intensity[*m]) {
            return z;
        }
    }
    return std::nullopt;
}

std::string chargeSpacingNotice(const Spectrum& peaks, double mz, double window, int ionCharge) {
    const std::optional<int> shown = measuredCharge(peaks, mz, window);
    if (!shown || *shown == std::abs(ionCharge)) {
        return {};
    }
    const double spacing = std::round(100.0 / *shown) / 100;
    return "the measured peaks are " + text::shortestText(spacing) + " apart: charge " +
           std::to_string(*shown) + "?";
}

} // namespace orvane::measured
