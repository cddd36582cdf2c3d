#pragma once

#include <string>

#include <QColor>
#include <QFont>
#include <QImage>

#include "plot/canvas.h"

namespace orvane::qtcanvas {

// The spectrum picture: the core's drawing surface over a QImage. Lines are set pixel by
// pixel, so that a line covers its start pixel and never its end pixel whatever the
// painter's own rules are; text goes through QPainter. At a scale above 1 the image has
// that many pixels for each of the drawing's, in both directions: coordinates and pen
// widths are multiplied, text is set in a font that much larger, and the drawing is laid
// out (textWidth) exactly as at scale 1.
class ImageCanvas : public plot::Canvas {
public:
    static constexpr int designedWidth = 782;
    static constexpr int designedHeight = 553;

    explicit ImageCanvas(int width = designedWidth, int height = designedHeight, int scale = 1);

    /// The drawing's size; the image is scale() times larger.
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

    /// The picture as the last drawing left it (white before the first one).
    const QImage& image() const { return m_image; }
    /// The font that textOut lays text out in now (at scale 1; the image's is scaled).
    const QFont& font() const { return m_font; }
    /// Image pixels per drawing pixel, in each direction.
    int scale() const { return m_scale; }

private:
    void drawLine(long long x0, long long y0, long long x1, long long y1);
    void plotPen(long long x, long long y);

    int m_width;
    int m_height;
    int m_scale;
    QImage m_image;
    int m_penWidth = 1;
    QRgb m_penColor = qRgb(0, 0, 0);
    plot::PenStyle m_penStyle = plot::PenStyle::Solid;
    QRgb m_brushColor = qRgb(255, 255, 255);
    QFont m_font;
    QFont m_scaledFont;
    QColor m_fontColor = Qt::black;
    long long m_x = 0;
    long long m_y = 0;
};

} // namespace orvane::qtcanvas
