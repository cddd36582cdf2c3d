#pragma once

#include <cstddef>
#include <string>

#include "measured/cluster_match.h"

namespace orvane::cli {

// A measured spectrum set against the ion, as orvane-calc reports it.
struct MeasuredReport {
    std::string file;
    std::size_t spectrum = 0; // 0-based index in the file
    std::size_t points = 0;
    double basePeakMz = 0;        // the tallest point inside the ion's clusters
    double basePeakIntensity = 0; // as measured
    measured::ClusterMatch match;
};

} // namespace orvane::cli
