#pragma once

#include <QRect>

class QWidget;

namespace orvane::app {

/// Places a top-level window so that its outer frame covers `outer`, as far as the frame
/// is known now.
void setOuterGeometry(QWidget& window, const QRect& outer);

// Whether a window's designed frame keeps its designed place or only its size (a window
// that is moved to where it is opened).
enum class FramePlace { Designed, AsMoved };

/// Gives the window its designed outer frame now and again once it is on the screen: a
/// window manager tells the size of its frame only some time after the window is first
/// shown, and until then the client area would get the frame's size.
void keepDesignedFrame(QWidget& window, const QRect& outer, FramePlace place);

/// The frame `frame` moved and shrunk as little as needed to lie within `available`: a
/// remembered geometry from another screen, or a damaged one, can neither place a window
/// out of sight nor make it larger than the screen.
QRect clampedToScreen(const QRect& frame, const QRect& available);

/// Puts a top-level window that lies partly or wholly off its screen's available area (a
/// remembered geometry) within it.
void keepOnScreen(QWidget& window);

/// Lets the window keep a size and place given since (a remembered one): its designed
/// frame is no longer put back once it is on the screen.
void releaseDesignedFrame(QWidget& window);

} // namespace orvane::app
