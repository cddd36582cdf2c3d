#pragma once

#include <cstddef>
#include <string>

#include "cli/measured_report.h"
#include "ion/charge_ladder.h"
#include "ion/ion_result.h"
#include "session/session_state.h"

namespace orvane::cli {

// Where a batch row came from, written first in its object.
struct JsonOrigin {
    std::size_t line = 0;
    std::string input;
};

/// The results of the last calculation as one JSON object on one line (no line break):
/// "line" and "input" when `origin` is given, "formula", "fw", "charge", "mz", then, unless
/// `withPattern` is false, "n0", "w", "centroid", "span" {"first", "last"}, "range" {"xmin",
/// "xmax"} and "pattern" [[index, intensity]] over the span that the pattern files write,
/// then "accurate" when `ion` is given and "measured" when `measured` is. "accurate" lists the
/// clusters of at least 1e-6 % of the tallest unless `allClusters`; its "averageMass" and
/// "averageMz" are from masses.txt and abundances.txt, while "fw" is from elem.txt's atomic
/// weights. "measured" holds "basePeakMz" and "basePeakIntensity" of the whole spectrum,
/// "rangeBasePeakMz" and "rangeBasePeakIntensity" of the ion's range (what the overlay is scaled
/// by), "score" (null, with "note" saying why, when no measured peak lies in the range),
/// "unexplained" and per cluster "measuredMz" and "ppm" (null when nothing matched it). "ladder"
/// follows when `ladder` is given. Bytes that are not UTF-8 are replaced, so that one bad byte
/// never ends a table.
std::string jsonReport(const session::SessionState& state, const ions::IonResult* ion,
                       const MeasuredReport* measured, const JsonOrigin* origin = nullptr,
                       bool allClusters = false, bool withPattern = true,
                       const std::vector<ions::LadderRung>* ladder = nullptr);

/// The object of a batch line that failed: "line", "input", "error".
std::string jsonErrorRow(const JsonOrigin& origin, const std::string& error);

} // namespace orvane::cli
