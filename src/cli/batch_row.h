#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/batch_input.h"

namespace orvane::cli {

// The accurate columns of a batch row.
struct BatchAccurate {
    double monoisotopicMass = 0;
    std::string ion;
    double monoisotopicMz = 0;
    double mostAbundantMz = 0;
};

// What one line of a batch gave.
struct BatchRow {
    BatchLine line;
    std::string error;                // the line failed with this message
    std::vector<std::string> notices; // what the window would have shown in message boxes
    std::string formula, weightText, averageMzText; // as the TAB report writes them
    long long n0 = 0;
    double centroid = 0;
    std::optional<BatchAccurate> accurate;
    std::string accurateError; // why the accurate columns are empty
    std::string json;          // the line's object of the JSON table

    bool failed() const { return !error.empty(); }
};

} // namespace orvane::cli
