#pragma once

#include <string>

#include "calc/pattern_state.h"

namespace orvane::exporting {

// The exported span is N0 - s .. N0 + s; the mass of index j is (FW - N0) - (C - N0) + j.
// Indices outside the pattern array are written with intensity 0.

/// The normal layout: "mass(8:2) TAB intensity(7:3)" CR LF per index.
std::string normalLayout(const calc::PatternState& pattern, double formulaWeight, int s);
/// The special layout: per position i two lines, each the mass and i + 1 TABs, then
/// "0" (line A) or the intensity (line B), CR LF after each.
std::string specialLayout(const calc::PatternState& pattern, double formulaWeight, int s);

} // namespace orvane::exporting
