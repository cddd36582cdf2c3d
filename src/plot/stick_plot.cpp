#include "plot/stick_plot.h"

#include "text/extended.h"
#include "text/number_text.h"

namespace orvane::plot {

namespace {

constexpr int fontSize = 10;

// Draws at data values (m/z, intensity) through px and py. The column is mapped before
// the row, so a collapsed m/z range fails at the first point whatever follows.
class MappedCanvas {
public:
    MappedCanvas(Canvas& canvas, const PlotState& state) : m_canvas(canvas), m_state(state) {}

    void moveTo(text::Extended x, text::Extended y) {
        const long long column = px(m_state, x);
        m_canvas.moveTo(column, py(m_state, y));
    }
    void lineTo(text::Extended x, text::Extended y) {
        const long long column = px(m_state, x);
        m_canvas.lineTo(column, py(m_state, y));
    }
    void textOut(text::Extended x, text::Extended y, const std::string& text) {
        const long long column = px(m_state, x);
        m_canvas.textOut(column, py(m_state, y), text);
    }

private:
    Canvas& m_canvas;
    const PlotState& m_state;
};

} // namespace

void drawSpectrum(Canvas& canvas, const PlotState& state, const SpectrumContent& content) {
    const calc::PatternState& pattern = content.pattern;
    const double formulaWeight = content.formulaWeight;
    const int charge = content.charge;
    const auto fixed = [separator = content.separator](text::Extended value) {
        return text::fixedText(value, 8, 2, separator);
    };
    MappedCanvas mapped(canvas, state);

    canvas.setPen(1, black, PenStyle::Solid);
    canvas.setBrush(white);

    // The page: the whole picture white. Its corners, 10 units beyond the extents, are
    // mapped first, so that collapsed extents stop the drawing before anything changes.
    px(state, state.xlo - 10.0L);
    canvas.clear(white);

    mapped.moveTo(state.xmin, state.ymin);
    mapped.lineTo(state.xmin, state.ymax);
    mapped.lineTo(state.xmax, state.ymax);
    mapped.lineTo(state.xmax, state.ymin);
    mapped.lineTo(state.xmin, state.ymin);

    const long long first = state.spanFirst;
    const long long last = state.spanLast;

    // The m/z ticks stand at whole indices, not at the sticks; a frame moved onto the sticks
    // of a large molecule takes its ticks along.
    for (long long h = first; h <= last; ++h) {
        const text::Extended x = text::checkedDivide(h + state.frameShift, charge);
        mapped.moveTo(x, state.ymin);
        mapped.lineTo(x, state.ymin - 1.5L);
    }

    const text::Extended d = static_cast<text::Extended>(state.xmax) - state.xmin;
    for (int i = 0; i <= 12; ++i) {
        const text::Extended y = 10 * i;
        mapped.moveTo(state.xmin, y);
        mapped.lineTo(state.xmin - 0.015L * d, y);
        if (i % 2 == 0) {
            canvas.setFont(fontSize, black);
            mapped.textOut(state.xmin - 0.05L * d, y + 1.3L, fixed(y));
        }
    }

    canvas.setFont(fontSize, black);
    mapped.textOut(state.xmin + 0.01L * d, state.ymax - 1.0L,
                   content.formulaText + " (Charge:" + std::to_string(charge) + ")");

    const text::Extended average = text::checkedDivide(formulaWeight, charge);
    const text::Extended labelRow = state.ymin - 2.0L;
    mapped.textOut(state.xmin - 0.02L * d, labelRow, fixed(state.xmin));
    mapped.textOut(average - 0.02L * d, labelRow, fixed(average));
    mapped.textOut(state.xmax - 0.03L * d, labelRow, fixed(state.xmax));

    canvas.setPen(1, blue, PenStyle::Dotted);
    mapped.moveTo(average, state.ymin);
    mapped.lineTo(average, state.ymax);
    canvas.setFont(fontSize, red);
    mapped.textOut(average + 0.005L * d, state.ymax - 7.0L, fixed(average));

    canvas.setPen(1, black, PenStyle::Solid);

    // The centroid falls on the average m/z; neighbouring indices are 1 / charge apart.
    const auto position = [&](long long j) {
        return text::checkedDivide(
            formulaWeight - static_cast<text::Extended>(pattern.centroid) + j, charge);
    };

    if (content.showPeakPositions) {
        const text::Extended threshold = static_cast<text::Extended>(content.threshold) / 10.0L;
        for (long long j = first; j <= last; ++j) {
            const text::Extended intensity = pattern.at(j);
            if (!(intensity > threshold)) {
                continue;
            }
            canvas.setFont(fontSize, blue);
            const text::Extended m = position(j);
            // labels left of the average end near their stick instead of starting at it
            const text::Extended x = m >= average ? m : m - 0.05L * d;
            mapped.textOut(x, intensity + 3.0L, fixed(m));
        }
    }

    // Drawn last, over every label.
    for (long long j = first; j <= last; ++j) {
        const text::Extended m = position(j);
        mapped.moveTo(m, state.ymin);
        mapped.lineTo(m, pattern.at(j));
    }
}

} // namespace orvane::plot
