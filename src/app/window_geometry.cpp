#include "app/window_geometry.h"

#include <QWidget>

namespace orvane::app {

void setOuterGeometry(QWidget& window, const QRect& outer) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.resize(outer.size() - frame);
    window.move(outer.topLeft());
}

} // namespace orvane::app
