#include "qtcanvas/painter_canvas.h"

#include "qtcanvas/canvas_font.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvane::qtcanvas {

namespace {

// As on ImageCanvas: far-off coordinates only have to stay clear of overflow.
constexpr long long coordinateLimit = 1'000'000;

// The dotted pen: three pixels on, three off, counted from each line's start.
constexpr double dotOn = 3;
constexpr double dotPeriod = 6;

long long clampCoordinate(long long value) {
    return std::clamp(value, -coordinateLimit, coordinateLimit);
}

QColor toColor(plot::Color color) {
    return QColor(color.red, color.green, color.blue);
}

// Cuts the segment from `from` to `to` to `box` (Liang and Barsky); false when nothing is
// left. `first` and `last` are where the kept part starts and ends along the segment (0..1).
bool clipToBox(const QPointF& from, const QPointF& to, const QRectF& box, double& first,
               double& last) {
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {from.x() - box.left(), box.right() - from.x(), from.y() - box.top(),
                        box.bottom() - from.y()};
    first = 0;
    last = 1;
    for (int side = 0; side < 4; ++side) {
        if (p[side] == 0) {
            if (q[side] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[side] / p[side];
        if (p[side] < 0) {
            first = std::max(first, t);
        } else {
            last = std::min(last, t);
        }
    }
    return first < last;
}

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height)
    : m_painter(painter), m_width(width), m_height(height), m_font(canvasFont(10)) {}

void PainterCanvas::setPen(int width, plot::Color color, plot::PenStyle style) {
    m_penWidth = std::max(width, 1);
    m_penColor = toColor(color);
    m_penStyle = style;
}

void PainterCanvas::setBrush(plot::Color color) {
    m_brushColor = toColor(color);
}

void PainterCanvas::setFont(int pointSize, plot::Color color) {
    m_font = canvasFont(pointSize);
    m_fontColor = toColor(color);
}

void PainterCanvas::clear(plot::Color color) {
    m_painter.fillRect(QRectF(0, 0, m_width, m_height), toColor(color));
}

void PainterCanvas::rectangle(long long x1, long long y1, long long x2, long long y2) {
    x1 = clampCoordinate(x1);
    y1 = clampCoordinate(y1);
    x2 = clampCoordinate(x2);
    y2 = clampCoordinate(y2);
    // The fill covers the corner pixels too, and only what lies on the page.
    const long long left = std::max(std::min(x1, x2), 0LL);
    const long long right = std::min(std::max(x1, x2), static_cast<long long>(m_width) - 1);
    const long long top = std::max(std::min(y1, y2), 0LL);
    const long long bottom = std::min(std::max(y1, y2), static_cast<long long>(m_height) - 1);
    if (left <= right && top <= bottom) {
        m_painter.fillRect(QRectF(static_cast<double>(left), static_cast<double>(top),
                                  static_cast<double>(right - left + 1),
                                  static_cast<double>(bottom - top + 1)),
                           m_brushColor);
    }
    drawLine(x1, y1, x2, y1);
    drawLine(x2, y1, x2, y2);
    drawLine(x2, y2, x1, y2);
    drawLine(x1, y2, x1, y1);
}

void PainterCanvas::moveTo(long long x, long long y) {
    m_x = clampCoordinate(x);
    m_y = clampCoordinate(y);
}

void PainterCanvas::lineTo(long long x, long long y) {
    x = clampCoordinate(x);
    y = clampCoordinate(y);
    drawLine(m_x, m_y, x, y);
    m_x = x;
    m_y = y;
}

void PainterCanvas::textOut(long long x, long long y, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    const QFontMetrics metrics(m_font);
    const QRectF cell(static_cast<double>(clampCoordinate(x)),
                      static_cast<double>(clampCoordinate(y)), metrics.horizontalAdvance(shown),
                      metrics.height());
    // A file keeps only what can be seen.
    if (!cell.intersects(QRectF(0, 0, m_width, m_height))) {
        return;
    }
    m_painter.fillRect(cell, m_brushColor);
    m_painter.setFont(m_font);
    m_painter.setPen(m_fontColor);
    m_painter.drawText(QPointF(cell.left(), cell.top() + metrics.ascent()), shown);
}

int PainterCanvas::textWidth(const std::string& text) const {
    return QFontMetrics(m_font).horizontalAdvance(QString::fromStdString(text));
}

// ImageCanvas sets the pen's square at every pixel from the start up to the one before the
// end; the same cover is a flat-capped stroke from the start square's near edge to the last
// square's far edge.
void PainterCanvas::drawLine(long long x0, long long y0, long long x1, long long y1) {
    const long long steps = std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
    if (steps == 0) {
        return;
    }
    const double width = m_penWidth;
    const double stepX = static_cast<double>(x1 - x0) / static_cast<double>(steps);
    const double stepY = static_cast<double>(y1 - y0) / static_cast<double>(steps);
    // Where the pen square's centre lies relative to its pixel's corner.
    const double centre = width / 2 - (m_penWidth - 1) / 2;
    // The squares from the start pixel's to the one before the end pixel's; a dot that
    // would begin at or after the end pixel is not drawn.
    double length = static_cast<double>(steps) - 1 + width;
    const double on = dotOn + width - 1;
    if (m_penStyle == plot::PenStyle::Dotted) {
        const double lastDot = std::floor(static_cast<double>(steps - 1) / dotPeriod) * dotPeriod;
        length = std::min(length, lastDot + on);
    }
    const QPointF from(static_cast<double>(x0) + centre - stepX * width / 2,
                       static_cast<double>(y0) + centre - stepY * width / 2);
    const QPointF to(from.x() + stepX * length, from.y() + stepY * length);

    double first = 0;
    double last = 1;
    const QRectF page(-width, -width, m_width + 2 * width, m_height + 2 * width);
    if (!clipToBox(from, to, page, first, last)) {
        return;
    }
    const QLineF whole(from, to);
    QPen pen(m_penColor, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (m_penStyle == plot::PenStyle::Dotted) {
        // Counted in steps along the line, like the pixels, and in pen widths, like Qt.
        const double stepLength = std::hypot(stepX, stepY);
        const double off = dotPeriod - on;
        if (off > 0) {
            pen.setDashPattern({on * stepLength / width, off * stepLength / width});
            // A line cut at the page's edge keeps its dots where they were.
            pen.setDashOffset(first * whole.length() / width);
        }
    }
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawLine(QLineF(whole.pointAt(first), whole.pointAt(last)));
}

} // namespace orvane::qtcanvas
