#pragma once

#include <QTableView>

namespace orvane::app {

// The element table's view, raising the table's three events in the order the count entry
// relies on. A left press on a cell selects it (selectCell), then reports the press
// (mouseDown), and its release clicks (gridClick). A press on the header row or with
// another button only reports the press. Moving the current cell with the keyboard
// selects and clicks, without a press. Cells are given in grid coordinates (row 0 is the
// header row), presses in the view's own pixels.
class ElementGridView : public QTableView {
    Q_OBJECT

public:
    explicit ElementGridView(QWidget* parent = nullptr);

    /// Makes (column, row) the current cell without raising any event, when it is shown.
    void setCurrentCellQuietly(int column, int row);
    /// The table cannot be typed into: a typed character finds nothing and moves nothing.
    void keyboardSearch(const QString& search) override;

signals:
    void selectCell(int column, int row);
    void mouseDown(int x, int y);
    void gridClick();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_quiet = false;
    bool m_clickPending = false;
};

} // namespace orvane::app
