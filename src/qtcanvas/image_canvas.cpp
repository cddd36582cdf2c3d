#include "qtcanvas/image_canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
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
constexpr int dotsPerInch = 96;
constexpr int pointsPerInch = 72;

long long clampCoordinate(long long value) {
    return std::clamp(value, -coordinateLimit, coordinateLimit);
}

QRgb toRgb(plot::Color color) {
    return qRgb(color.red, color.green, color.blue);
}

} // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : m_image(width, height, QImage::Format_RGB32), m_font(QStringLiteral("Arial")) {
    m_image.setDotsPerMeterX(dotsPerMeter);
    m_image.setDotsPerMeterY(dotsPerMeter);
    m_image.fill(m_brushColor);
    // Plain pixels, so that the picture is the same on every screen and in every file.
    m_font.setStyleStrategy(QFont::NoAntialias);
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
    const int pixels = (std::max(pointSize, 1) * dotsPerInch + pointsPerInch / 2) / pointsPerInch;
    m_font.setPixelSize(pixels);
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
    for (long long y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(y)));
        std::fill(line + left, line + right + 1, m_brushColor);
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
    const QFontMetrics metrics(m_font);
    const QRect cell(static_cast<int>(clampCoordinate(x)), static_cast<int>(clampCoordinate(y)),
                     metrics.horizontalAdvance(shown), metrics.height());
    QPainter painter(&m_image);
    painter.fillRect(cell, QColor(m_brushColor));
    painter.setFont(m_font);
    painter.setPen(m_fontColor);
    painter.drawText(cell.left(), cell.top() + metrics.ascent(), shown);
}

int ImageCanvas::textWidth(const std::string& text) const {
    return QFontMetrics(m_font).horizontalAdvance(QString::fromStdString(text));
}

// Bresenham from the start pixel up to, but not including, the end pixel.
void ImageCanvas::drawLine(long long x0, long long y0, long long x1, long long y1) {
    const long long dx = std::llabs(x1 - x0);
    const long long dy = std::llabs(y1 - y0);
    const long long sx = x0 < x1 ? 1 : -1;
    const long long sy = y0 < y1 ? 1 : -1;
    const long long steps = std::max(dx, dy);
    long long first = 0;
    long long last = steps; // exclusive
    // A straight line far longer than the image: walk only the part that can be seen
    // (widened by the pen, whose square may reach in from outside).
    const long long reach = m_penWidth;
    if (dy == 0 && dx > 0) {
        first = std::max(0LL, (sx > 0 ? -x0 : x0 - (width() - 1)) - reach);
        last = std::min(steps, (sx > 0 ? width() - x0 : x0 + 1) + reach);
    } else if (dx == 0 && dy > 0) {
        first = std::max(0LL, (sy > 0 ? -y0 : y0 - (height() - 1)) - reach);
        last = std::min(steps, (sy > 0 ? height() - y0 : y0 + 1) + reach);
    }
    if (dx == 0 || dy == 0) {
        for (long long i = first; i < last; ++i) {
            if (m_penStyle == plot::PenStyle::Solid || i % dotPeriod < dotOn) {
                plotPen(x0 + sx * (dx == 0 ? 0 : i), y0 + sy * (dy == 0 ? 0 : i));
            }
        }
        return;
    }
    long long error = dx - dy;
    long long x = x0;
    long long y = y0;
    for (long long i = 0; i < steps; ++i) {
        if (m_penStyle == plot::PenStyle::Solid || i % dotPeriod < dotOn) {
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

// A pen wider than one pixel covers a square around each pixel of the line.
void ImageCanvas::plotPen(long long x, long long y) {
    const long long before = (m_penWidth - 1) / 2;
    for (long long py = y - before; py < y - before + m_penWidth; ++py) {
        if (py < 0 || py >= height()) {
            continue;
        }
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(py)));
        for (long long px = x - before; px < x - before + m_penWidth; ++px) {
            if (px >= 0 && px < width()) {
                line[px] = m_penColor;
            }
        }
    }
}

} // namespace orvane::qtcanvas
