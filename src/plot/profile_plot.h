#pragma once

#include <string>
#include <vector>

#include "plot/canvas.h"
#include "plot/view_range.h"

namespace orvane::plot {

// A charge state marked on the plot: its most abundant m/z and "12+".
struct ChargeMark {
    double mz = 0;
    std::string label;
};

// What the high-resolution plot shows: the theory's profile and sticks, the peaks whose
// accurate m/z is written above them, and a measured spectrum beside them.
struct HighResolutionContent {
    std::string title;
    std::vector<TracePoint> profile;  // the theory's profile, tallest point 100
    std::vector<TracePoint> sticks;   // fine peaks or clusters, tallest 100
    std::vector<TracePoint> labelled; // peaks whose m/z is written with 4 decimals
    std::vector<TracePoint> measured; // scaled so that its tallest point in the ion's range is 100
    bool measuredAsSticks = false;    // centroided data is drawn as sticks, profiles as a line
    std::vector<ChargeMark> chargeMarks; // the charge states, marked along the m/z axis
    char separator = '.';                // the locale's decimal separator
};

// The colours of the plot's parts.
inline constexpr Color profileColor{0, 0, 160};
inline constexpr Color stickColor{150, 150, 150};
inline constexpr Color measuredColor{210, 0, 0};
inline constexpr Color labelColor{0, 0, 255};
inline constexpr Color chargeMarkColor{0, 120, 0};

/// The data frame of the plot on a canvas of the given size: room for the intensity labels
/// on the left, the m/z labels below and the title above.
PlotFrame highResolutionFrame(int width, int height);

/// Draws the plot of `content` in `view` onto the whole canvas: white page, frame, m/z and
/// intensity ticks with their labels, title, sticks, the profile line, the measured
/// spectrum, the charge marks (a short tick up from the m/z axis, its label above where it
/// has room) and the labels of the peaks that have room. Only what lies in the view is drawn.
void drawHighResolutionPlot(Canvas& canvas, const ViewRange& view,
                            const HighResolutionContent& content);

} // namespace orvane::plot
