#pragma once

#include <optional>

#include <QPoint>
#include <QWidget>

#include "plot/profile_plot.h"

namespace orvane::plot {
class Canvas;
}

namespace orvane::app {

// The high-resolution plot: draws its content through the core's canvas, and lets the user
// look closer. The mouse wheel zooms the m/z axis at the pointer, dragging with the left
// button zooms to the rectangle, dragging with the right button pans, and a double click or
// Home shows the whole pattern again. The data point under the pointer is reported.
class ProfilePlotView : public QWidget {
    Q_OBJECT

public:
    explicit ProfilePlotView(QWidget* parent = nullptr);

    /// Shows new content; `wholeView` also goes back to the whole pattern.
    void setContent(plot::HighResolutionContent content, bool wholeView);
    const plot::HighResolutionContent& content() const { return m_content; }
    const plot::ViewRange& view() const { return m_view; }
    /// Shows the whole pattern: the sticks with a margin, 0 to 110 %.
    void showWholePattern();
    /// Shows this range, as a zoom would.
    void setView(const plot::ViewRange& view);
    /// Draws the plot as it is shown onto any canvas (a picture file).
    void draw(plot::Canvas& canvas) const;

signals:
    void pointerAt(double mz, double intensity);
    /// A left click that drew no rectangle, at this m/z.
    void clickedAt(double mz);
    /// The shown range changed: zoomed, panned, or the whole pattern again.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    plot::TracePoint pointAt(const QPointF& position) const;

    plot::HighResolutionContent m_content;
    plot::ViewRange m_view;
    std::optional<QPoint> m_boxStart; // left drag: the zoom rectangle's first corner
    QPoint m_boxEnd;
    std::optional<QPoint> m_panFrom; // right drag
};

} // namespace orvane::app
