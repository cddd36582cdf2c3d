#pragma once

#include <string>
#include <vector>

#include "tracer/isotopologue_correction.h"

namespace orvane::tracer {

// One sample's isotopologue fractions of one metabolite, for a stacked bar.
struct FractionBar {
    std::string sample;
    std::vector<double> fractions; // by isotopologue; empty when the sum was 0
};

// A bar segment in pixels, y growing downwards as on a screen.
struct BarSegment {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    int isotopologue = 0; // index into the fractions, for its colour
};

/// The bars of `metabolite` with `derivative`, one per sample in the result's order.
std::vector<FractionBar> fractionBarsOf(const CorrectionResult& result,
                                        const std::string& metabolite,
                                        const std::string& derivative);

/// The stacked segments of `bars` inside a plot `width` x `height` pixels wide, `margin`
/// pixels kept free on every side: equal slots, each bar half its slot wide and centred, M+0
/// at the bottom, a whole bar as tall as the plot. Nothing for no bars or a plot that
/// leaves no room inside the margins.
std::vector<BarSegment> stackedSegments(const std::vector<FractionBar>& bars, double width,
                                        double height, double margin);

} // namespace orvane::tracer
