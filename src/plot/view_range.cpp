#include "plot/view_range.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::plot {

namespace {

constexpr double topIntensity = 110;
// Views narrower than this hold no more than rounding noise.
constexpr double narrowestMz = 1e-6;

} // namespace

ViewRange wholeView(const std::vector<TracePoint>& points, double least, double margin) {
    if (points.empty()) {
        return {0, 1, 0, topIntensity};
    }
    // The far tails of a fine structure hold nothing one could see.
    const bool anyVisible =
        std::any_of(points.begin(), points.end(),
                    [least](const TracePoint& point) { return point.intensity >= least; });
    double lowest = std::numeric_limits<double>::max();
    double highest = std::numeric_limits<double>::lowest();
    for (const TracePoint& point : points) {
        if (!anyVisible || point.intensity >= least) {
            lowest = std::min(lowest, point.mz);
            highest = std::max(highest, point.mz);
        }
    }
    const double pad = std::max((highest - lowest) * margin, 0.5);
    return {lowest - pad, highest + pad, 0, topIntensity};
}

ViewRange zoomedAt(const ViewRange& view, double anchorMz, double factor) {
    ViewRange zoomed = view;
    const double width = std::max((view.mzHigh - view.mzLow) * factor, narrowestMz);
    const double share = (anchorMz - view.mzLow) / (view.mzHigh - view.mzLow);
    zoomed.mzLow = anchorMz - share * width;
    zoomed.mzHigh = zoomed.mzLow + width;
    return zoomed;
}

ViewRange panned(const ViewRange& view, double deltaMz, double deltaIntensity) {
    return {view.mzLow + deltaMz, view.mzHigh + deltaMz, view.intensityLow + deltaIntensity,
            view.intensityHigh + deltaIntensity};
}

ViewRange boxed(const ViewRange& view, const TracePoint& corner, const TracePoint& opposite) {
    const double low = std::min(corner.mz, opposite.mz);
    const double high = std::max(corner.mz, opposite.mz);
    const double bottom = std::min(corner.intensity, opposite.intensity);
    const double top = std::max(corner.intensity, opposite.intensity);
    if (high - low < narrowestMz || top - bottom <= 0) {
        return view;
    }
    return {low, high, bottom, top};
}

long long columnOf(const ViewRange& view, const PlotFrame& frame, double mz) {
    const long double share =
        (static_cast<long double>(mz) - view.mzLow) / (view.mzHigh - view.mzLow);
    return frame.left + std::llround(share * (frame.right - frame.left));
}

long long rowOf(const ViewRange& view, const PlotFrame& frame, double intensity) {
    const long double share = (static_cast<long double>(intensity) - view.intensityLow) /
                              (view.intensityHigh - view.intensityLow);
    return frame.bottom - std::llround(share * (frame.bottom - frame.top));
}

TracePoint pointAt(const ViewRange& view, const PlotFrame& frame, double column, double row) {
    const double across = (column - frame.left) / (frame.right - frame.left);
    const double up = (frame.bottom - row) / (frame.bottom - frame.top);
    return {view.mzLow + across * (view.mzHigh - view.mzLow),
            view.intensityLow + up * (view.intensityHigh - view.intensityLow)};
}

std::vector<double> niceTicks(double low, double high, int wanted) {
    std::vector<double> ticks;
    if (!(high > low) || wanted < 1) {
        return ticks;
    }
    const double raw = (high - low) / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
        step = multiple * power;
        if (step >= raw) {
            break;
        }
    }
    for (double k = std::ceil(low / step); k * step <= high; k += 1) {
        ticks.push_back(k * step);
    }
    return ticks;
}

} // namespace orvane::plot
