#pragma once

#include <string>

#include "plot/canvas.h"

namespace orvane::cli {

// A canvas of the designed picture size that draws nothing: the command line runs the
// drawing for its side effects (image size, fw1, errors) when no picture is asked for.
class BlankCanvas final : public plot::Canvas {
public:
    int width() const override { return 782; }
    int height() const override { return 553; }
    void setPen(int, plot::Color, plot::PenStyle) override {}
    void setBrush(plot::Color) override {}
    void setFont(int, plot::Color) override {}
    void clear(plot::Color) override {}
    void rectangle(long long, long long, long long, long long) override {}
    void moveTo(long long, long long) override {}
    void lineTo(long long, long long) override {}
    void textOut(long long, long long, const std::string&) override {}
    int textWidth(const std::string& text) const override {
        return 6 * static_cast<int>(text.size());
    }
};

} // namespace orvane::cli
