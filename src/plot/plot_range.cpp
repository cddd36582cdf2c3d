#include "plot/plot_range.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "text/extended.h"
#include "text/rounding.h"
#include "text/number_text.h"

namespace orvane::plot {

namespace {

constexpr double intensityBottom = 0;
constexpr double intensityTop = 120;

// The indices i of the counting window N0 - W .. N0 + W with P[i] > 0.001: their number
// is s, and the first and last of them say how far the significant peaks reach. Indices
// outside the pattern array hold nothing and so do not count.
struct SignificantPoints {
    int count = 0;
    long long first = 0;
    long long last = -1;
};

SignificantPoints significantPoints(const calc::PatternState& pattern) {
    SignificantPoints points;
    const long long first = std::max(0LL, static_cast<long long>(pattern.n0) - pattern.w);
    const long long last = std::min(static_cast<long long>(pattern.p.size()) - 1,
                                    static_cast<long long>(pattern.n0) + pattern.w);
    for (long long i = first; i <= last; ++i) {
        if (static_cast<text::Extended>(pattern.at(i)) > 0.001L) {
            if (points.count == 0) {
                points.first = i;
            }
            points.last = i;
            ++points.count;
        }
    }
    return points;
}

// The span that is drawn and exported: N0 - s .. N0 + s while every significant point lies
// in it. The pattern drifts away from N0 by the mean isotope offset of every atom, and
// gapped patterns (Cl, Br) reach further than s; then the span is centred on the rounded
// centroid and wide enough for every significant point.
std::pair<long long, long long> drawnSpan(const calc::PatternState& pattern,
                                          const SignificantPoints& points) {
    const long long n0 = pattern.n0;
    const long long s = points.count;
    if (points.count == 0 || (points.first >= n0 - s && points.last <= n0 + s)) {
        return {n0 - s, n0 + s};
    }
    const long long centre = text::roundHalfEven(pattern.centroid);
    const long long half = std::max({s, centre - points.first, points.last - centre});
    return {centre - half, centre + half};
}

// The automatic frame in whole index steps, before the division by the charge. Sticks stand
// at FW - C + j, and FW - C grows with the molecule (about 0.008 u for every hydrogen, some
// 2000 u for titin), so the frame over the span can miss the envelope entirely. While that
// frame holds every significant stick it stays exactly where it is; otherwise it moves by
// the whole number of steps nearest to FW - C, one step wider where a stick would fall
// just outside.
struct Frame {
    long long first = 0;
    long long last = 0;
    long long shift = 0;
};

Frame automaticFrame(const calc::PatternState& pattern, const SignificantPoints& points,
                     double formulaWeight, long long spanFirst, long long spanLast) {
    Frame frame{spanFirst, spanLast, 0};
    if (points.count == 0) {
        return frame;
    }
    const text::Extended offset =
        static_cast<text::Extended>(formulaWeight) - static_cast<text::Extended>(pattern.centroid);
    const text::Extended lowest = offset + points.first;
    const text::Extended highest = offset + points.last;
    if (lowest >= spanFirst && highest <= spanLast) {
        return frame;
    }
    frame.shift = text::roundHalfEven(offset);
    frame.first = spanFirst + frame.shift;
    frame.last = spanLast + frame.shift;
    if (lowest < frame.first) {
        --frame.first;
    }
    if (highest > frame.last) {
        ++frame.last;
    }
    return frame;
}

} // namespace

PlotState computePlotRange(const PlotState& previous, const calc::PatternState& pattern,
                           double formulaWeight, int charge, bool manualRange) {
    // The average m/z comes first: a charge of 0 stops here and changes nothing.
    text::checkedDivide(formulaWeight, charge);

    PlotState state = previous;
    const SignificantPoints points = significantPoints(pattern);
    state.s = points.count;
    std::tie(state.spanFirst, state.spanLast) = drawnSpan(pattern, points);
    const Frame frame =
        automaticFrame(pattern, points, formulaWeight, state.spanFirst, state.spanLast);
    state.frameShift = frame.shift;
    if (!manualRange) {
        state.xmin = text::storeDouble(text::checkedDivide(frame.first, charge));
        state.xmax = text::storeDouble(text::checkedDivide(frame.last, charge));
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
