#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "find/isotope_score.h"
#include "measured/cluster_match.h"

namespace orvane::cli {

// A measured spectrum set against the ion, as orvane-calc reports it.
struct MeasuredReport {
    std::string file;
    std::size_t spectrum = 0; // 0-based index in the file
    std::size_t points = 0;
    double basePeakMz = 0;        // the tallest point of the whole spectrum
    double basePeakIntensity = 0; // as measured
    std::optional<double> rangeBasePeakMz, rangeBasePeakIntensity; // inside the ion's range
    measured::ClusterMatch match;
    std::string noPeak; // why there is no score: no measured peak in the ion's range
    // The formula's pattern scored as the search scores its candidates, against the
    // measured monoisotopic peak; nothing for labelled ions and without a measured peak.
    std::optional<find::PatternScore> pattern;
};

} // namespace orvane::cli
