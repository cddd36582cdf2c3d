#pragma once

#include <QRect>

class QMainWindow;

namespace orvane::app {

/// On a screen whose available area is smaller than the window's designed frame, the
/// window's designed contents go into a scroll area at their designed size (nothing is
/// rescaled) and the window takes the available area; on a large enough screen nothing
/// changes. Returns true when the window was fitted.
bool fitToScreen(QMainWindow& window, const QRect& designedFrame, const QRect& available);

} // namespace orvane::app
