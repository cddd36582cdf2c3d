#pragma once

#include <vector>

namespace orvane::plot {

// A point of a trace: m/z and intensity in percent.
struct TracePoint {
    double mz = 0;
    double intensity = 0;
};

// The stretch of m/z and intensity a zoomable plot shows.
struct ViewRange {
    double mzLow = 0;
    double mzHigh = 1;
    double intensityLow = 0;
    double intensityHigh = 100;
    friend bool operator==(const ViewRange&, const ViewRange&) = default;
};

// Where the data frame lies on the canvas, in pixels (right and bottom included).
struct PlotFrame {
    int left = 0;
    int top = 0;
    int right = 1;
    int bottom = 1;
};

/// The whole of the points of at least `least` % (all of them when none is): their m/z range
/// widened by `margin` of its width on both sides (at least 0.5 m/z each side), intensity 0
/// to 110 %. A view of 0 .. 1 when there are no points.
ViewRange wholeView(const std::vector<TracePoint>& points, double least = 0.1,
                    double margin = 0.05);

/// The view zoomed by `factor` (< 1 zooms in) along m/z, keeping `anchorMz` where it is.
ViewRange zoomedAt(const ViewRange& view, double anchorMz, double factor);
/// The view moved by `deltaMz` along m/z and `deltaIntensity` along intensity.
ViewRange panned(const ViewRange& view, double deltaMz, double deltaIntensity);
/// The view of the rectangle between two data points; none (the view itself) when the
/// rectangle has no width or no height.
ViewRange boxed(const ViewRange& view, const TracePoint& corner, const TracePoint& opposite);

/// The pixel column of an m/z and the pixel row of an intensity in the frame.
long long columnOf(const ViewRange& view, const PlotFrame& frame, double mz);
long long rowOf(const ViewRange& view, const PlotFrame& frame, double intensity);
/// The data point under a pixel.
TracePoint pointAt(const ViewRange& view, const PlotFrame& frame, double column, double row);

/// Round tick positions from `low` to `high`, about `wanted` of them (1, 2 or 5 times a
/// power of ten apart).
std::vector<double> niceTicks(double low, double high, int wanted);

} // namespace orvane::plot
