#include "app/profile_plot_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "qtcanvas/image_canvas.h"

namespace orvane::app {

namespace {

// One notch of the wheel zooms by this much.
constexpr double zoomPerNotch = 0.8;

} // namespace

ProfilePlotView::ProfilePlotView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProfilePlot"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(300, 200);
}

void ProfilePlotView::setContent(plot::HighResolutionContent content, bool wholeView) {
    m_content = std::move(content);
    if (wholeView) {
        showWholePattern();
    }
    update();
}

void ProfilePlotView::showWholePattern() {
    // a spectrum shown before any ion is viewed whole
    setView(plot::wholeView(m_content.sticks.empty() ? m_content.measured : m_content.sticks));
}

void ProfilePlotView::setView(const plot::ViewRange& view) {
    const bool changed = view != m_view;
    m_view = view;
    update();
    if (changed) {
        emit viewChanged();
    }
}

void ProfilePlotView::draw(plot::Canvas& canvas) const {
    plot::drawHighResolutionPlot(canvas, m_view, m_content);
}

void ProfilePlotView::paintEvent(QPaintEvent*) {
    qtcanvas::ImageCanvas canvas(width(), height());
    draw(canvas);
    QPainter painter(this);
    painter.drawImage(0, 0, canvas.image());
    if (m_boxStart) {
        painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        painter.drawRect(QRect(*m_boxStart, m_boxEnd).normalized());
    }
}

plot::TracePoint ProfilePlotView::pointAt(const QPointF& position) const {
    return plot::pointAt(m_view, plot::highResolutionFrame(width(), height()), position.x(),
                         position.y());
}

void ProfilePlotView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        setView(
            plot::zoomedAt(m_view, pointAt(event->position()).mz, std::pow(zoomPerNotch, notches)));
    }
    event->accept();
}

void ProfilePlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_boxStart = event->position().toPoint();
        m_boxEnd = *m_boxStart;
    } else if (event->button() == Qt::RightButton) {
        m_panFrom = event->position().toPoint();
    }
}

void ProfilePlotView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const plot::TracePoint point = pointAt(position);
    emit pointerAt(point.mz, point.intensity);
    if (m_boxStart) {
        m_boxEnd = position;
        update();
    }
    if (m_panFrom) {
        const plot::TracePoint from = pointAt(*m_panFrom);
        m_panFrom = position;
        setView(plot::panned(m_view, from.mz - point.mz, from.intensity - point.intensity));
    }
}

void ProfilePlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_boxStart) {
        const QPoint end = event->position().toPoint();
        // A click is not a rectangle.
        const bool click = (end - *m_boxStart).manhattanLength() <= 4;
        if (!click) {
            setView(plot::boxed(m_view, pointAt(*m_boxStart), pointAt(end)));
        }
        m_boxStart.reset();
        update();
        if (click) {
            emit clickedAt(pointAt(end).mz);
        }
    } else if (event->button() == Qt::RightButton) {
        m_panFrom.reset();
    }
}

void ProfilePlotView::mouseDoubleClickEvent(QMouseEvent*) {
    m_boxStart.reset();
    showWholePattern();
}

void ProfilePlotView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home) {
        showWholePattern();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orvane::app
