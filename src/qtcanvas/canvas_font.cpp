#include "qtcanvas/canvas_font.h"

#include <algorithm>

namespace orvane::qtcanvas {

namespace {

constexpr int dotsPerInch = 96;
constexpr int pointsPerInch = 72;

} // namespace

QFont canvasFont(int pointSize) {
    QFont font(QStringLiteral("Arial"));
    // Plain pixels, so that the picture is the same on every screen and in every file.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize((std::max(pointSize, 1) * dotsPerInch + pointsPerInch / 2) / pointsPerInch);
    return font;
}

} // namespace orvane::qtcanvas
