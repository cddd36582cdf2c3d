#pragma once

#include <ostream>

#include "session/session_state.h"

namespace orvane::cli {

/// Writes the results of the last calculation as TAB-separated lines: Formula, FW, M/Z,
/// one Percent line per working element, then, unless `withPattern` is false, N0, W,
/// Centroid, s, Range and one Peak line for every index of the window N0 - W .. N0 + W.
void writeCalculationReport(std::ostream& out, const session::SessionState& state,
                            bool withPattern = true);

} // namespace orvane::cli
