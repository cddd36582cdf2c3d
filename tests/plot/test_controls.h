#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "plot/plot_range.h"
#include "plot/plot_state.h"
#include "text/spin_value.h"

namespace orvane::plot::testing {

// The window's display boxes as the plot stages see them: the settings they read and the
// range boxes' texts they give.
struct Controls {
    text::SpinValue charge{1, 100, 1};
    text::SpinValue threshold{0, 1000, 1};
    bool showPeakPositions = true;
    bool manualRange = false;
    std::string edit1 = "0.0";
    std::string edit2 = "1.0";
    std::string edit3;
    std::string edit4;
};

/// Range1Click as the window runs it: fw1 first (a charge of 0 stops there), then the
/// plot state and the range boxes.
inline void computeRange(PlotState& state, Controls& controls, std::string& fw1,
                         const calc::PatternState& pattern, double formulaWeight,
                         char separator = '.') {
    const int charge = controls.charge.value();
    fw1 = averageMzText(formulaWeight, charge, separator);
    state = computePlotRange(state, pattern, formulaWeight, charge, controls.manualRange);
    const RangeTexts texts = rangeTexts(state, separator);
    controls.edit1 = texts.lowerMz;
    controls.edit2 = texts.upperMz;
    controls.edit3 = texts.lowerIntensity;
    controls.edit4 = texts.upperIntensity;
}

} // namespace orvane::plot::testing
