#pragma once

#include <string>
#include <vector>

#include "plot/canvas.h"

namespace orvane::plot::testing {

// Records every call in order, and besides the raw calls the finished primitives: each
// line with the pen it was drawn with, each text with the font it was written in.
class RecordingCanvas : public Canvas {
public:
    enum class Kind { Pen, Brush, Font, Clear, Rectangle, MoveTo, LineTo, Text };
    struct Line {
        long long x1, y1, x2, y2;
        Color color;
        PenStyle style;
        int width;
    };
    struct Text {
        long long x, y;
        std::string text;
        Color color;
        int pointSize;
    };
    struct Rect {
        long long x1, y1, x2, y2;
        Color pen, brush;
    };

    RecordingCanvas(int width, int height) : m_width(width), m_height(height) {}

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void setPen(int width, Color color, PenStyle style) override {
        calls.push_back(Kind::Pen);
        m_penWidth = width;
        m_penColor = color;
        m_penStyle = style;
    }
    void setBrush(Color color) override {
        calls.push_back(Kind::Brush);
        m_brush = color;
    }
    void setFont(int pointSize, Color color) override {
        calls.push_back(Kind::Font);
        m_fontSize = pointSize;
        m_fontColor = color;
    }
    void clear(Color color) override {
        calls.push_back(Kind::Clear);
        clears.push_back(color);
    }
    void rectangle(long long x1, long long y1, long long x2, long long y2) override {
        calls.push_back(Kind::Rectangle);
        rectangles.push_back({x1, y1, x2, y2, m_penColor, m_brush});
    }
    void moveTo(long long x, long long y) override {
        calls.push_back(Kind::MoveTo);
        m_x = x;
        m_y = y;
    }
    void lineTo(long long x, long long y) override {
        calls.push_back(Kind::LineTo);
        lines.push_back({m_x, m_y, x, y, m_penColor, m_penStyle, m_penWidth});
        m_x = x;
        m_y = y;
    }
    void textOut(long long x, long long y, const std::string& text) override {
        calls.push_back(Kind::Text);
        texts.push_back({x, y, text, m_fontColor, m_fontSize});
    }

    /// Calls that put something on the page (pen, brush and font settings draw nothing).
    std::size_t drawingCalls() const {
        std::size_t count = 0;
        for (const Kind kind : calls) {
            count += kind == Kind::Rectangle || kind == Kind::LineTo || kind == Kind::Text;
        }
        return count;
    }

    /// About the width of the picture's 10-point digits.
    int textWidth(const std::string& text) const override {
        return 6 * static_cast<int>(text.size());
    }

    std::vector<Kind> calls;
    std::vector<Line> lines;
    std::vector<Text> texts;
    std::vector<Rect> rectangles;
    std::vector<Color> clears;

private:
    int m_width;
    int m_height;
    int m_penWidth = 0;
    Color m_penColor{1, 2, 3}; // no colour the drawing uses, so a missing setting shows
    PenStyle m_penStyle = PenStyle::Solid;
    Color m_brush{1, 2, 3};
    int m_fontSize = 0;
    Color m_fontColor{1, 2, 3};
    long long m_x = 0;
    long long m_y = 0;
};

} // namespace orvane::plot::testing
