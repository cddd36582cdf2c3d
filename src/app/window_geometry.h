#pragma once

#include <QRect>

class QWidget;

namespace orvane::app {

/// Places a top-level window so that its outer frame covers `outer`, as far as the frame
/// is known: before the window is shown the platform has not told its size, so showing
/// windows call this again.
void setOuterGeometry(QWidget& window, const QRect& outer);

} // namespace orvane::app
