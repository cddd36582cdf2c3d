#include "plot/profile_plot.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "text/number_text.h"

namespace orvane::plot {

namespace {

constexpr int fontSize = 9;
constexpr int lineHeight = 14; // of a 9-point text cell
constexpr int leftMargin = 52;
constexpr int rightMargin = 12;
constexpr int topMargin = 22;
constexpr int bottomMargin = 30;
constexpr int tickLength = 5;
constexpr int measuredWidth = 2;
constexpr int legendSwatch = 14; // pixels of a legend entry's colour
constexpr int chargeMarkLength = 8;

// The part of the segment a-b inside the view (Liang-Barsky), if any.
std::optional<std::pair<TracePoint, TracePoint>> clipped(const ViewRange& view, TracePoint a,
                                                         TracePoint b) {
    double from = 0;
    double to = 1;
    const double dx = b.mz - a.mz;
    const double dy = b.intensity - a.intensity;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.mz - view.mzLow, view.mzHigh - a.mz, a.intensity - view.intensityLow,
                        view.intensityHigh - a.intensity};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0) {
            from = std::max(from, t);
        } else {
            to = std::min(to, t);
        }
        if (from > to) {
            return std::nullopt;
        }
    }
    return std::pair{TracePoint{a.mz + from * dx, a.intensity + from * dy},
                     TracePoint{a.mz + to * dx, a.intensity + to * dy}};
}

class FramedCanvas {
public:
    FramedCanvas(Canvas& canvas, const ViewRange& view)
        : m_canvas(canvas), m_view(view),
          m_frame(highResolutionFrame(canvas.width(), canvas.height())) {}

    const PlotFrame& frame() const { return m_frame; }
    long long column(double mz) const { return columnOf(m_view, m_frame, mz); }
    long long row(double intensity) const { return rowOf(m_view, m_frame, intensity); }

    void segment(TracePoint a, TracePoint b) {
        if (const auto inside = clipped(m_view, a, b)) {
            m_canvas.moveTo(column(inside->first.mz), row(inside->first.intensity));
            // lines leave out their end pixel; a zero-length one would draw nothing
            const long long endColumn = column(inside->second.mz);
            const long long endRow = row(inside->second.intensity);
            m_canvas.lineTo(endColumn, endRow);
            m_canvas.lineTo(endColumn + 1, endRow);
        }
    }
    void line(const std::vector<TracePoint>& points) {
        for (std::size_t k = 1; k < points.size(); ++k) {
            segment(points[k - 1], points[k]);
        }
    }
    void sticks(const std::vector<TracePoint>& points) {
        for (const TracePoint& point : points) {
            segment({point.mz, 0}, point);
        }
    }

private:
    Canvas& m_canvas;
    const ViewRange& m_view;
    PlotFrame m_frame;
};

// Enough decimals to tell ticks `step` apart.
int decimalsFor(double step) {
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
}

struct Box {
    long long left, top, right, bottom;
    bool overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

} // namespace

PlotFrame highResolutionFrame(int width, int height) {
    return {leftMargin, topMargin, std::max(leftMargin + 1, width - rightMargin),
            std::max(topMargin + 1, height - bottomMargin)};
}

void drawHighResolutionPlot(Canvas& canvas, const ViewRange& view,
                            const HighResolutionContent& content) {
    FramedCanvas plot(canvas, view);
    const PlotFrame& frame = plot.frame();
    const char separator = content.separator;

    canvas.setPen(1, black, PenStyle::Solid);
    canvas.setBrush(white);
    canvas.clear(white);

    canvas.setPen(1, stickColor, PenStyle::Solid);
    plot.sticks(content.sticks);
    canvas.setPen(1, profileColor, PenStyle::Solid);
    plot.line(content.profile);
    // The measurement over the theory, two pixels wide, so that it stays visible where
    // the two coincide.
    if (!content.measured.empty()) {
        canvas.setPen(measuredWidth, measuredColor, PenStyle::Solid);
        if (content.measuredAsSticks) {
            plot.sticks(content.measured);
        } else {
            plot.line(content.measured);
        }
    }

    // The frame, and the ticks with their labels, over the traces.
    canvas.setPen(1, black, PenStyle::Solid);
    canvas.moveTo(frame.left, frame.top);
    canvas.lineTo(frame.right, frame.top);
    canvas.lineTo(frame.right, frame.bottom);
    canvas.lineTo(frame.left, frame.bottom);
    canvas.lineTo(frame.left, frame.top);
    canvas.setFont(fontSize, black);
    const int mzTicks = std::max(2, (frame.right - frame.left) / 90);
    const std::vector<double> mz = niceTicks(view.mzLow, view.mzHigh, mzTicks);
    const int mzDecimals = mz.size() > 1 ? decimalsFor(mz[1] - mz[0]) : 2;
    for (const double tick : mz) {
        const long long x = plot.column(tick);
        canvas.moveTo(x, frame.bottom);
        canvas.lineTo(x, frame.bottom + tickLength);
        const std::string label = text::fixedText(tick, 18, mzDecimals, separator);
        canvas.textOut(x - canvas.textWidth(label) / 2, frame.bottom + tickLength + 1, label);
    }
    const int intensityTicks = std::max(2, (frame.bottom - frame.top) / 50);
    const std::vector<double> intensity =
        niceTicks(view.intensityLow, view.intensityHigh, intensityTicks);
    const int intensityDecimals =
        intensity.size() > 1 ? decimalsFor(intensity[1] - intensity[0]) : 0;
    for (const double tick : intensity) {
        const long long y = plot.row(tick);
        canvas.moveTo(frame.left, y);
        canvas.lineTo(frame.left - tickLength, y);
        const std::string label = text::fixedText(tick, 18, intensityDecimals, separator);
        canvas.textOut(frame.left - tickLength - 2 - canvas.textWidth(label), y - lineHeight / 2,
                       label);
    }
    canvas.textOut(frame.left, frame.top - lineHeight - 4, content.title);

    // The legend, top right inside the frame: a swatch of each trace's colour and its name.
    std::vector<Box> placed;
    struct Entry {
        const char* name;
        Color color;
    };
    std::vector<Entry> entries{{"theory", profileColor}};
    if (!content.measured.empty()) {
        entries.push_back({"measured", measuredColor});
    }
    canvas.setFont(fontSize, black);
    long long legendTop = frame.top + 4;
    for (const Entry& entry : entries) {
        const long long width = canvas.textWidth(entry.name);
        const long long right = frame.right - 6;
        const long long textLeft = right - width;
        const long long swatchRight = textLeft - 4;
        const long long swatchLeft = swatchRight - legendSwatch;
        const long long middle = legendTop + lineHeight / 2;
        canvas.setPen(1, entry.color, PenStyle::Solid);
        canvas.setBrush(entry.color);
        canvas.rectangle(swatchLeft, middle - 1, swatchRight, middle + 1);
        canvas.setBrush(white);
        canvas.textOut(textLeft, legendTop, entry.name);
        placed.push_back({swatchLeft, legendTop, right + 1, legendTop + lineHeight});
        legendTop += lineHeight + 2;
    }

    // The charge states along the m/z axis, so that a protein's ESI spectrum is read at a
    // glance; they come before the peak labels, which leave them room.
    for (const ChargeMark& mark : content.chargeMarks) {
        if (mark.mz < view.mzLow || mark.mz > view.mzHigh) {
            continue;
        }
        const long long x = plot.column(mark.mz);
        canvas.setPen(2, chargeMarkColor, PenStyle::Solid);
        canvas.moveTo(x, frame.bottom - 1);
        canvas.lineTo(x, frame.bottom - 1 - chargeMarkLength);
        const long long width = canvas.textWidth(mark.label);
        const long long top = frame.bottom - 2 - chargeMarkLength - lineHeight;
        const Box box{x - width / 2, top, x + width / 2 + 1, top + lineHeight};
        if (box.left <= frame.left || box.right >= frame.right ||
            std::any_of(placed.begin(), placed.end(),
                        [&](const Box& other) { return other.overlaps(box); })) {
            continue;
        }
        placed.push_back(box);
        canvas.setFont(fontSize, chargeMarkColor);
        canvas.textOut(box.left, box.top, mark.label);
    }

    // The tallest peaks get their labels first; a label without room is left out.
    std::vector<TracePoint> labelled = content.labelled;
    std::stable_sort(
        labelled.begin(), labelled.end(),
        [](const TracePoint& a, const TracePoint& b) { return a.intensity > b.intensity; });
    canvas.setFont(fontSize, labelColor);
    for (const TracePoint& peak : labelled) {
        if (peak.mz < view.mzLow || peak.mz > view.mzHigh || peak.intensity < view.intensityLow) {
            continue;
        }
        const std::string label = text::fixedText(peak.mz, 18, 4, separator);
        const long long width = canvas.textWidth(label);
        const long long top = std::max<long long>(
            plot.row(std::min(peak.intensity, view.intensityHigh)) - lineHeight - 2, frame.top + 1);
        const Box box{plot.column(peak.mz) - width / 2, top, plot.column(peak.mz) + width / 2 + 1,
                      top + lineHeight};
        if (box.left <= frame.left || box.right >= frame.right ||
            std::any_of(placed.begin(), placed.end(),
                        [&](const Box& other) { return other.overlaps(box); })) {
            continue;
        }
        placed.push_back(box);
        canvas.textOut(box.left, box.top, label);
    }
}

} // namespace orvane::plot
