#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvane::app {

// "Input Scale" (TForm2): the small modeless window in which an atom count is typed.
// OK (also the Enter key) is reported by ok1Clicked(); the main window does the rest.
// Closing the window only hides it.
class CountDialog : public QDialog {
    Q_OBJECT

public:
    explicit CountDialog(QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_edit1; }
    /// Puts `text` into Edit1, moves the outer frame's top-left corner to `framePosition`,
    /// shows the window and brings it to the front (an open window only moves).
    void openAt(const QString& text, const QPoint& framePosition);

signals:
    void ok1Clicked();

private:
    QLineEdit* m_edit1;
    QPushButton* m_ok1;
};

} // namespace orvane::app
