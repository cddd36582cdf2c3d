#include "app/small_screen.h"

#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "app/window_geometry.h"

namespace orvane::app {

bool fitToScreen(QMainWindow& window, const QRect& designedFrame, const QRect& available) {
    if (available.width() >= designedFrame.width() &&
        available.height() >= designedFrame.height()) {
        return false;
    }
    QWidget* contents = window.takeCentralWidget();
    // the controls sit at designed places without a layout: their union is the size
    const QRect used = contents->childrenRect();
    contents->setFixedSize(used.right() + 1, used.bottom() + 1);
    auto* scroll = new QScrollArea(&window);
    scroll->setObjectName(QStringLiteral("SmallScreenScroll"));
    scroll->setWidget(contents);
    window.setCentralWidget(scroll);
    // what is cut is cut from the top: the bottom bar (FW, M/Z, Charge) stays in sight and
    // the element table, which scrolls itself, gives up its first pixels
    QScrollBar* vertical = scroll->verticalScrollBar();
    QObject::connect(vertical, &QScrollBar::rangeChanged, scroll,
                     [vertical](int, int maximum) { vertical->setValue(maximum); });
    releaseDesignedFrame(window);
    // wider by the scroll bar where the screen allows, so that only one direction scrolls
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize wanted(designedFrame.width() + bar, designedFrame.height() + bar);
    // kept once the window manager has framed it: until then the client area alone would
    // take the screen's height, and the title bar would push the bottom bar below the screen
    keepDesignedFrame(window, QRect(available.topLeft(), wanted.boundedTo(available.size())),
                      FramePlace::Designed);
    return true;
}

} // namespace orvane::app
