#include "app/small_screen.h"

#include <QMainWindow>
#include <QScrollArea>
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
    releaseDesignedFrame(window);
    // wider by the scroll bar where the screen allows, so that only one direction scrolls
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize wanted(designedFrame.width() + bar, designedFrame.height() + bar);
    setOuterGeometry(window, QRect(available.topLeft(), wanted.boundedTo(available.size())));
    return true;
}

} // namespace orvane::app
