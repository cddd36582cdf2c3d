#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "plot/plot_state.h"

namespace orvane::plot {

/// Range1Click: returns the plot state for the pattern at `charge`: the significant
/// half-span s, the x range (kept from `previous` while `manualRange` is on, as Apply
/// stored it), y range 0..120 and the extents; the image size is kept from `previous`.
/// Raises text::Error for a charge of 0.
PlotState computePlotRange(const PlotState& previous, const calc::PatternState& pattern,
                           double formulaWeight, int charge, bool manualRange);

// The texts of the four range boxes.
struct RangeTexts {
    std::string lowerMz;        // general text of xmin
    std::string upperMz;        // general text of xmax
    std::string lowerIntensity; // fixed text of ymin
    std::string upperIntensity; // fixed text of ymax
};

/// The range boxes' texts for a plot state.
RangeTexts rangeTexts(const PlotState& state, char separator);

/// The M/Z box: the first 8 characters of the general text of FW / charge. Raises the
/// division error for a charge of 0 (the invalid-operation error when FW is 0 too).
std::string averageMzText(double formulaWeight, int charge, char separator);

} // namespace orvane::plot
