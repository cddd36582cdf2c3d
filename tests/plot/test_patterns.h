#pragma once

#include <utility>
#include <vector>

#include "calc/pattern_state.h"

namespace orvane::plot::testing {

/// A pattern state with P sized 3W + N0 + 1 as the engine leaves it, the given entries
/// set and the centroid taken over the window as the engine takes it.
inline calc::PatternState makePattern(int n0, int w,
                                      const std::vector<std::pair<int, double>>& entries) {
    calc::PatternState pattern;
    pattern.n0 = n0;
    pattern.w = w;
    pattern.p.assign(static_cast<std::size_t>(3 * w + n0 + 1), 0.0);
    for (const auto& [index, value] : entries) {
        pattern.p.at(static_cast<std::size_t>(index)) = value;
    }
    long double total = 0;
    long double moment = 0;
    for (int i = n0 - w; i <= n0 + w; ++i) {
        total += pattern.at(i);
        moment += static_cast<long double>(i) * pattern.at(i);
    }
    pattern.centroid = static_cast<double>(moment / total);
    return pattern;
}

/// Cl2: FW 70.9, centroid about 71.9692, three significant points, so s = 3.
inline calc::PatternState dichlorine() {
    return makePattern(71, 4, {{71, 100.0}, {73, 63.9567110993797}, {75, 10.2261522366238}});
}
inline constexpr double dichlorineWeight = 70.9;

} // namespace orvane::plot::testing
