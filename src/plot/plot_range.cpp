#include "plot/plot_range.h"

#include "text/extended.h"
#include "text/number_text.h"

namespace orvane::plot {

namespace {

constexpr double intensityBottom = 0;
constexpr double intensityTop = 120;

/// Points of the counting window N0 - W .. N0 + W above 0.001; indices outside the
/// pattern array hold nothing and so do not count.
int significantHalfSpan(const calc::PatternState& pattern) {
    int count = 0;
    const long long first = static_cast<long long>(pattern.n0) - pattern.w;
    const long long last = static_cast<long long>(pattern.n0) + pattern.w;
    for (long long i = first; i <= last; ++i) {
        if (static_cast<text::Extended>(pattern.at(i)) > 0.001L) {
            ++count;
        }
    }
    return count;
}

} // namespace

PlotState computePlotRange(const PlotState& previous, const calc::PatternState& pattern,
                           double formulaWeight, int charge, bool manualRange) {
    // The average m/z comes first: a charge of 0 stops here and changes nothing.
    text::checkedDivide(formulaWeight, charge);

    PlotState state = previous;
    state.s = significantHalfSpan(pattern);
    if (!manualRange) {
        const long long first = static_cast<long long>(pattern.n0) - state.s;
        const long long last = static_cast<long long>(pattern.n0) + state.s;
        state.xmin = text::storeDouble(text::checkedDivide(first, charge));
        state.xmax = text::storeDouble(text::checkedDivide(last, charge));
    }
    state.ymin = intensityBottom;
    state.ymax = intensityTop;

    // The left margin carries the intensity ticks and labels.
    const text::Extended width = static_cast<text::Extended>(state.xmax) - state.xmin;
    const text::Extended height = static_cast<text::Extended>(state.ymax) - state.ymin;
    state.xlo = text::storeDouble(state.xmin - 0.055L * width);
    state.xhi = text::storeDouble(state.xmax + 0.015L * width);
    state.ylo = text::storeDouble(state.ymin - 0.05L * height);
    state.yhi = text::storeDouble(state.ymax + 0.01L * height);
    return state;
}

RangeTexts rangeTexts(const PlotState& state, char separator) {
    return {text::generalText(state.xmin, separator), text::generalText(state.xmax, separator),
            text::fixedText(state.ymin, 8, 2, separator),
            text::fixedText(state.ymax, 8, 2, separator)};
}

std::string averageMzText(double formulaWeight, int charge, char separator) {
    return text::first8(text::generalText(text::checkedDivide(formulaWeight, charge), separator));
}

} // namespace orvane::plot
