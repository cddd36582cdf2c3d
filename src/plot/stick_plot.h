#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "plot/canvas.h"
#include "plot/display_controls.h"
#include "plot/plot_state.h"

namespace orvane::plot {

/// Spectrum1Click: draws the stick spectrum onto the canvas in the fixed order (page,
/// frame, ticks, intensity labels, title, m/z labels, average marker and text, peak
/// labels, sticks), taking the image size from the canvas and rewriting fw1. Raises
/// text::Error where a mapping or a division fails; what was drawn stays.
void drawSpectrum(Canvas& canvas, PlotState& state, const DisplayControls& controls,
                  const calc::PatternState& pattern, double formulaWeight,
                  const std::string& formulaText, std::string& fw1Text, char separator);

} // namespace orvane::plot
