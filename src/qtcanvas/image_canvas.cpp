#include "qtcanvas/image_canvas.h"

#include "qtcanvas/canvas_font.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cassert>
#include <cstdlib>

namespace orvane::qtcanvas {

namespace {

// Mapped coordinates can be astronomically far off the image (a narrow manual range);
// beyond this they are all "outside" and only have to stay clear of overflow.
constexpr long long coordinateLimit = 1'000'000;

// The dotted pen: three pixels on, three off, counted from each line's start.
constexpr long long dotOn = 3;
constexpr long long dotPeriod = 6;

// 96 dots per inch.
constexpr int dotsPerMeter = 3780;

long long clampCoordinate(long long value) {
    return std::clamp(value, -coordinateLimit, coordinateLimit);
}

QRgb toRgb(plot::Color color) {
    return qRgb(color.red, color.green, color.blue);
}

} // namespace

ImageCanvas::ImageCanvas(int width, int height, int scale)
    : m_width(width), m_height(height), m_scale(scale),
      m_image(width * scale, height * scale, QImage::Format_RGB32) {
    assert(scale >= 1);
    // The same size on paper at every scale.
    m_image.setDotsPerMeterX(dotsPerMeter * scale);
    m_image.setDotsPerMeterY(dotsPerMeter * scale);
    m_image.fill(m_brushColor);
    setFont(10, plot::black);
}

void ImageCanvas::setPen(int width, plot::Color color, plot::PenStyle style) {
    m_penWidth = std::max(width, 1);
    m_penColor = toRgb(color);
    m_penStyle = style;
}

void ImageCanvas::setBrush(plot::Color color) {
    m_brushColor = toRgb(color);
}

void ImageCanvas::setFont(int pointSize, plot::Color color) {
    m_font = canvasFont(pointSize);
    m_scaledFont = m_font;
    m_scaledFont.setPixelSize(m_font.pixelSize() * m_scale);
    m_fontColor = QColor(color.red, color.green, color.blue);
}

void ImageCanvas::clear(plot::Color color) {
    m_image.fill(qRgb(color.red, color.green, color.blue));
}

void ImageCanvas::rectangle(long long x1, long long y1, long long x2, long long y2) {
    x1 = clampCoordinate(x1);
    y1 = clampCoordinate(y1);
    x2 = clampCoordinate(x2);
    y2 = clampCoordinate(y2);
    const long long left = std::max(std::min(x1, x2), 0LL);
    const long long right = std::min(std::max(x1, x2), static_cast<long long>(width()) - 1);
    const long long top = std::max(std::min(y1, y2), 0LL);
    const long long bottom = std::min(std::max(y1, y2), static_cast<long long>(height()) - 1);
    // Each drawing pixel is a square of scale x scale image pixels.
    for (long long y = top * m_scale; y < (bottom + 1) * m_scale; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(y)));
        std::fill(line + left * m_scale, line + (right + 1) * m_scale, m_brushColor);
    }
    // Four lines that each leave out their end pixel close the outline exactly.
    drawLine(x1, y1, x2, y1);
    drawLine(x2, y1, x2, y2);
    drawLine(x2, y2, x1, y2);
    drawLine(x1, y2, x1, y1);
}

void ImageCanvas::moveTo(long long x, long long y) {
    m_x = clampCoordinate(x);
    m_y = clampCoordinate(y);
}

void ImageCanvas::lineTo(long long x, long long y) {
    x = clampCoordinate(x);
    y = clampCoordinate(y);
    drawLine(m_x, m_y, x, y);
    m_x = x;
    m_y = y;
}

void ImageCanvas::textOut(long long x, long long y, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    // The cell as laid out at scale 1, magnified; the text in the magnified font.
    const QFontMetrics metrics(m_font);
    const QRect cell(static_cast<int>(clampCoordinate(x)) * m_scale,
                     static_cast<int>(clampCoordinate(y)) * m_scale,
                     metrics.horizontalAdvance(shown) * m_scale, metrics.height() * m_scale);
    QPainter painter(&m_image);
    painter.fillRect(cell, QColor(m_brushColor));
    painter.setFont(m_scaledFont);
    painter.setPen(m_fontColor);
    painter.drawText(cell.left(), cell.top() + QFontMetrics(m_scaledFont).ascent(), shown);
}

int ImageCanvas::textWidth(const std::string& text) const {
    return QFontMetrics(m_font).horizontalAdvance(QString::fromStdString(text));
}

// Bresenham from the start pixel up to, but not including, the end pixel. At a scale above 1
// the line runs between the image pixels where the pen's square covers exactly the scaled
// start pixel, and stops where it would reach into the scaled end pixel.
void ImageCanvas::drawLine(long long x0, long long y0, long long x1, long long y1) {
    const long long scale = m_scale;
    const long long offset = (m_penWidth * scale - 1) / 2 - scale * ((m_penWidth - 1) / 2);
    x0 = x0 * scale + offset;
    y0 = y0 * scale + offset;
    x1 = x1 * scale + offset;
    y1 = y1 * scale + offset;
    const long long dx = std::llabs(x1 - x0);
    const long long dy = std::llabs(y1 - y0);
    const long long sx = x0 < x1 ? 1 : -1;
    const long long sy = y0 < y1 ? 1 : -1;
    const long long steps = std::max(dx, dy) == 0 ? 0 : std::max(dx, dy) - (scale - 1);
    const long long on = dotOn * scale - (scale - 1);
    const long long period = dotPeriod * scale;
    const long long imageWidth = m_image.width();
    const long long imageHeight = m_image.height();
    long long first = 0;
    long long last = steps; // exclusive
    // A straight line far longer than the image: walk only the part that can be seen
    // (widened by the pen, whose square may reach in from outside).
    const long long reach = m_penWidth * scale;
    if (dy == 0 && dx > 0) {
        first = std::max(0LL, (sx > 0 ? -x0 : x0 - (imageWidth - 1)) - reach);
        last = std::min(steps, (sx > 0 ? imageWidth - x0 : x0 + 1) + reach);
    } else if (dx == 0 && dy > 0) {
        first = std::max(0LL, (sy > 0 ? -y0 : y0 - (imageHeight - 1)) - reach);
        last = std::min(steps, (sy > 0 ? imageHeight - y0 : y0 + 1) + reach);
    }
    if (dx == 0 || dy == 0) {
        for (long long i = first; i < last; ++i) {
            if (m_penStyle == plot::PenStyle::Solid || i % period < on) {
                plotPen(x0 + sx * (dx == 0 ? 0 : i), y0 + sy * (dy == 0 ? 0 : i));
            }
        }
        return;
    }
    long long error = dx - dy;
    long long x = x0;
    long long y = y0;
    for (long long i = 0; i < steps; ++i) {
        if (m_penStyle == plot::PenStyle::Solid || i % period < on) {
            plotPen(x, y);
        }
        const long long doubled = 2 * error;
        if (doubled > -dy) {
            error -= dy;
            x += sx;
        }
        if (doubled < dx) {
            error += dx;
            y += sy;
        }
    }
}

// A pen wider than one image pixel covers a square around each image pixel of the line.
void ImageCanvas::plotPen(long long x, long long y) {
    const long long side = static_cast<long long>(m_penWidth) * m_scale;
    const long long before = (side - 1) / 2;
    for (long long py = y - before; py < y - before + side; ++py) {
        if (py < 0 || py >= m_image.height()) {
            continue;
        }
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(py)));
        for (long long px = x - before; px < x - before + side; ++px) {
            if (px >= 0 && px < m_image.width()) {
                line[px] = m_penColor;
            }
        }
    }
}

} // namespace orvane::qtcanvas
