#include "app/element_grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace orvane::app {

ElementGridView::ElementGridView(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->viewport()->installEventFilter(this);
}

void ElementGridView::setCurrentCellQuietly(int column, int row) {
    if (model() == nullptr || selectionModel() == nullptr) {
        return;
    }
    const QModelIndex index = model()->index(row - 1, column);
    if (!index.isValid() || index == currentIndex()) {
        return;
    }
    m_quiet = true;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_quiet = false;
}

void ElementGridView::keyboardSearch(const QString& search) {
    // Only a keyboard move of the current cell may open the count entry, never a letter
    // or digit that happens to start another cell's text.
    Q_UNUSED(search);
}

void ElementGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!m_quiet && current.isValid()) {
        emit selectCell(current.column(), current.row() + 1);
    }
}

void ElementGridView::mousePressEvent(QMouseEvent* event) {
    const QPoint inViewport = event->position().toPoint();
    const QPoint inView = viewport()->mapTo(this, inViewport);
    const QModelIndex index = indexAt(inViewport);
    if (event->button() == Qt::LeftButton && index.isValid()) {
        const QModelIndex before = currentIndex();
        QTableView::mousePressEvent(event);
        // A press on the cell that is already current selects it all the same.
        if (currentIndex() == before) {
            emit selectCell(index.column(), index.row() + 1);
        }
        m_clickPending = true;
    } else {
        // Other buttons and presses beside the cells select nothing.
        setFocus(Qt::MouseFocusReason);
    }
    emit mouseDown(inView.x(), inView.y());
}

void ElementGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like the first.
    mousePressEvent(event);
}

void ElementGridView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_clickPending) {
        m_clickPending = false;
        emit gridClick();
    }
}

void ElementGridView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before) {
        emit gridClick();
    }
}

bool ElementGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport() &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick)) {
        // The header row selects nothing and raises no click; only the press is reported.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint inView =
            horizontalHeader()->viewport()->mapTo(this, mouse->position().toPoint());
        setFocus(Qt::MouseFocusReason);
        emit mouseDown(inView.x(), inView.y());
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace orvane::app
