#pragma once

#include <QFont>

namespace orvane::qtcanvas {

/// The picture's typeface (Arial in plain pixels) at `pointSize` points on a 96 dpi page.
QFont canvasFont(int pointSize);

} // namespace orvane::qtcanvas
