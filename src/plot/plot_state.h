#pragma once

namespace orvane::plot {

// The plot range (data frame), the extents that fall on the image edges, the image
// size, the significant half-span s and the span of indices that is drawn and exported.
// All zero until the first range computation.
struct PlotState {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    double xlo = 0, xhi = 0, ylo = 0, yhi = 0;
    int imageWidth = 0, imageHeight = 0;
    int s = 0;
    long long spanFirst = 0, spanLast = 0; // N0 - s .. N0 + s unless the peaks reach beyond
    // Whole index steps by which the automatic frame and the m/z ticks are moved onto the
    // sticks; 0 while the frame over the span already holds every significant stick.
    long long frameShift = 0;
};

/// Pixel column of an m/z value: round((x - xlo) * width / (xhi - xlo)), product first,
/// ties to even. Raises text::Error on collapsed extents (division by zero).
long long px(const PlotState& state, long double x);
/// Pixel row of an intensity: height - round((y - ylo) * height / (yhi - ylo)).
long long py(const PlotState& state, long double y);

} // namespace orvane::plot
