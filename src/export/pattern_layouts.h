#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "export/output_sink.h"

namespace orvane::exporting {

// The exported span is the indices first .. last (none when first > last); the mass of
// index j is (FW - N0) - (C - N0) + j. Indices outside the pattern array are written with
// intensity 0.

/// Writes the normal layout: "mass(8:2) TAB intensity(7:3)" CR LF per index.
void writeNormalLayout(OutputSink& out, const calc::PatternState& pattern, double formulaWeight,
                       long long first, long long last);
/// Writes the special layout: per index j two lines, each the mass and j - first + 1 TABs,
/// then "0" (line A) or the intensity (line B), CR LF after each. Its size grows with the
/// square of the span, so it goes out line by line.
void writeSpecialLayout(OutputSink& out, const calc::PatternState& pattern, double formulaWeight,
                        long long first, long long last);

/// The normal layout as one text, for small spans.
std::string normalLayout(const calc::PatternState& pattern, double formulaWeight, long long first,
                         long long last);
/// The special layout as one text, for small spans.
std::string specialLayout(const calc::PatternState& pattern, double formulaWeight, long long first,
                          long long last);

} // namespace orvane::exporting
