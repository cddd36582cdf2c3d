#pragma once

#include <vector>

namespace orvane::calc {

// The isotope pattern on whole mass steps: P has indices 0 to 3W + N0, is normalised
// inside the window N0 - W .. N0 + W (tallest entry exactly 100) and 0 elsewhere.
struct PatternState {
    int n0 = 0;
    int w = 0;
    std::vector<double> p; // empty before the first calculation
    double centroid = 0;

    bool exists() const { return !p.empty(); }
    /// P[i], or 0 for an index outside the array.
    double at(long long index) const {
        return index >= 0 && index < static_cast<long long>(p.size())
                   ? p[static_cast<std::size_t>(index)]
                   : 0.0;
    }
};

} // namespace orvane::calc
