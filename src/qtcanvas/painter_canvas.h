#pragma once

#include <string>

#include <QColor>
#include <QFont>

#include "plot/canvas.h"

class QPainter;

namespace orvane::qtcanvas {

// The core's drawing surface over a QPainter on any paint device (an SVG generator, a PDF
// writer, a scaled QImage), whose transform maps the drawing's pixels onto the device.
// Each line, rectangle and text cell covers the same pixel squares as on ImageCanvas, but
// as shapes rather than pixels, so that a vector file stays sharp at any size. Text is
// laid out with ImageCanvas's font and measures, so the drawing is arranged the same way.
class PainterCanvas : public plot::Canvas {
public:
    /// Draws through `painter`, which must stay active while the canvas is used.
    PainterCanvas(QPainter& painter, int width, int height);

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void setPen(int width, plot::Color color, plot::PenStyle style) override;
    void setBrush(plot::Color color) override;
    void setFont(int pointSize, plot::Color color) override;
    void clear(plot::Color color) override;
    void rectangle(long long x1, long long y1, long long x2, long long y2) override;
    void moveTo(long long x, long long y) override;
    void lineTo(long long x, long long y) override;
    void textOut(long long x, long long y, const std::string& text) override;
    int textWidth(const std::string& text) const override;

    /// The font that textOut uses now.
    const QFont& font() const { return m_font; }

private:
    void drawLine(long long x0, long long y0, long long x1, long long y1);

    QPainter& m_painter;
    int m_width;
    int m_height;
    int m_penWidth = 1;
    QColor m_penColor = Qt::black;
    plot::PenStyle m_penStyle = plot::PenStyle::Solid;
    QColor m_brushColor = Qt::white;
    QFont m_font;
    QColor m_fontColor = Qt::black;
    long long m_x = 0;
    long long m_y = 0;
};

} // namespace orvane::qtcanvas
