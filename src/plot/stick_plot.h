#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "plot/canvas.h"
#include "plot/plot_state.h"

namespace orvane::plot {

// What the stick spectrum shows besides the plot state.
struct SpectrumContent {
    const calc::PatternState& pattern;
    double formulaWeight = 0;
    const std::string& formulaText; // the title, with the charge after it
    int charge = 1;
    int threshold = 1; // peak-label threshold in tenths of a percent
    bool showPeakPositions = true;
    char separator = '.'; // the locale's decimal separator
};

/// Spectrum1Click: draws the stick spectrum onto the canvas in the fixed order (page,
/// frame, ticks, intensity labels, title, m/z labels, average marker and text, peak labels,
/// sticks), mapping through the plot state, whose image size must be the canvas's. Raises
/// text::Error where a mapping or a division fails; what was drawn stays.
void drawSpectrum(Canvas& canvas, const PlotState& state, const SpectrumContent& content);

} // namespace orvane::plot
