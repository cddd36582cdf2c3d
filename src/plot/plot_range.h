#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "plot/display_controls.h"
#include "plot/plot_state.h"

namespace orvane::plot {

/// Range1Click: fw1, the significant half-span s, the x range (kept while the manual
/// flag is on), y range 0..120, the extents and the range boxes Edit1..Edit4.
/// Raises text::Error for a charge of 0, before anything is changed.
void computePlotRange(PlotState& state, DisplayControls& controls,
                      const calc::PatternState& pattern, double formulaWeight, std::string& fw1Text,
                      char separator);

} // namespace orvane::plot
