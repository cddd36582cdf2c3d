#pragma once

#include <optional>

#include <nlohmann/json.hpp>

#include "cli/measured_report.h"
#include "session/ion_result.h"
#include "session/session_state.h"

namespace orvane::cli {

/// The results of the last calculation as one JSON object: "formula", "fw", "charge",
/// "mz", "n0", "w", "centroid", "span" {"first", "last"}, "pattern" [[index, intensity]]
/// over the window N0 - W .. N0 + W, then "accurate" when `ion` is given and "measured"
/// when `measured` is.
nlohmann::ordered_json jsonReport(const session::SessionState& state, const session::IonResult* ion,
                                  const MeasuredReport* measured);

} // namespace orvane::cli
