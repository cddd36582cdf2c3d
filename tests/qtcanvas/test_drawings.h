#pragma once

#include <functional>
#include <vector>

#include <QImage>

#include "plot/canvas.h"

namespace orvane::qtcanvas::testing {

// A drawing through the core's canvas, named for the test's message.
struct TestDrawing {
    const char* name;
    std::function<void(plot::Canvas&)> draw;
};

// Drawings of straight lines and rectangles only, with every pen the plots use; their pixel
// squares are the same whichever canvas draws them, at any scale.
inline std::vector<TestDrawing> straightDrawings() {
    return {
        {"outlined rectangle",
         [](plot::Canvas& canvas) {
             canvas.setBrush(plot::blue);
             canvas.setPen(1, plot::black, plot::PenStyle::Solid);
             canvas.rectangle(2, 3, 30, 20);
         }},
        {"wide pen, corner",
         [](plot::Canvas& canvas) {
             canvas.setPen(3, plot::red, plot::PenStyle::Solid);
             canvas.moveTo(5, 40);
             canvas.lineTo(50, 40);
             canvas.lineTo(50, 5);
         }},
        {"even pen",
         [](plot::Canvas& canvas) {
             canvas.setPen(2, plot::black, plot::PenStyle::Solid);
             canvas.moveTo(40, 2);
             canvas.lineTo(40, 30);
         }},
        {"dotted both ways",
         [](plot::Canvas& canvas) {
             canvas.setPen(1, plot::blue, plot::PenStyle::Dotted);
             canvas.moveTo(1, 45);
             canvas.lineTo(58, 45);
             canvas.moveTo(58, 47);
             canvas.lineTo(1, 47);
             canvas.moveTo(55, 48);
             canvas.lineTo(55, 0);
         }},
        {"wide dotted",
         [](plot::Canvas& canvas) {
             canvas.setPen(2, plot::red, plot::PenStyle::Dotted);
             canvas.moveTo(3, 25);
             canvas.lineTo(45, 25);
         }},
        {"far off the page",
         [](plot::Canvas& canvas) {
             canvas.setBrush(plot::red);
             canvas.setPen(1, plot::black, plot::PenStyle::Solid);
             canvas.rectangle(-4'000'000'000'000LL, 30, 9'000'000'000'000LL, 1'000'000'000'000LL);
             canvas.moveTo(-5'000'000'000'000LL, 10);
             canvas.lineTo(5'000'000'000'000LL, 10);
             canvas.setPen(1, plot::blue, plot::PenStyle::Dotted);
             canvas.moveTo(20, -7'000'000'000'000LL);
             canvas.lineTo(20, 7'000'000'000'000LL);
         }},
        {"cleared, then a line",
         [](plot::Canvas& canvas) {
             canvas.clear(plot::blue);
             canvas.setPen(1, plot::white, plot::PenStyle::Solid);
             canvas.moveTo(0, 0);
             canvas.lineTo(59, 0);
         }},
    };
}

// Where two images differ first, as "x,y", or an empty text when they are the same.
inline QString firstDifference(const QImage& one, const QImage& other) {
    if (one.size() != other.size()) {
        return QStringLiteral("sizes differ");
    }
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            if (one.pixel(x, y) != other.pixel(x, y)) {
                return QStringLiteral("%1,%2").arg(x).arg(y);
            }
        }
    }
    return {};
}

} // namespace orvane::qtcanvas::testing
