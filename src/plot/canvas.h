#pragma once

#include <cstdint>
#include <string>

namespace orvane::plot {

// A colour as 24-bit RGB.
struct Color {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};
inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
inline constexpr Color blue{0, 0, 255};
inline constexpr Color red{255, 0, 0};

enum class PenStyle { Solid, Dotted };

// The drawing surface of the spectrum. Pixel origin top left, rows grow downwards.
// A line covers its start pixel but not its end pixel; text has its cell's top-left
// corner at the given pixel, on an opaque background of the brush colour.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setPen(int width, Color color, PenStyle style) = 0;
    virtual void setBrush(Color color) = 0;
    virtual void setFont(int pointSize, Color color) = 0;
    /// Every pixel of the surface in `color`.
    virtual void clear(Color color) = 0;
    /// Outlined with the pen and filled with the brush, corners included.
    virtual void rectangle(long long x1, long long y1, long long x2, long long y2) = 0;
    virtual void moveTo(long long x, long long y) = 0;
    virtual void lineTo(long long x, long long y) = 0;
    virtual void textOut(long long x, long long y, const std::string& text) = 0;
    /// The width in pixels of the cell that textOut gives `text` in the current font.
    virtual int textWidth(const std::string& text) const = 0;
};

} // namespace orvane::plot
