#pragma once

#include <cstddef>
#include <string>

#include "cli/measured_report.h"
#include "session/ion_result.h"
#include "session/session_state.h"

namespace orvane::cli {

// Where a batch row came from, written first in its object.
struct JsonOrigin {
    std::size_t line = 0;
    std::string input;
};

/// The results of the last calculation as one JSON object on one line (no line break):
/// "line" and "input" when `origin` is given, "formula", "fw", "charge", "mz", "n0", "w",
/// "centroid", "span" {"first", "last"}, "pattern" [[index, intensity]] over the window
/// N0 - W .. N0 + W, then "accurate" when `ion` is given and "measured" when `measured`
/// is. Bytes that are not UTF-8 are replaced, so that one bad byte never ends a table.
std::string jsonReport(const session::SessionState& state, const session::IonResult* ion,
                       const MeasuredReport* measured, const JsonOrigin* origin = nullptr);

/// The object of a batch line that failed: "line", "input", "error".
std::string jsonErrorRow(const JsonOrigin& origin, const std::string& error);

} // namespace orvane::cli
