#pragma once

#include <QWidget>

#include "text/spin_value.h"

class QLineEdit;
class QToolButton;

namespace orvane::app {

// An integer box that holds its value as the text it shows (text::SpinValue): any text
// may be typed and is used as it stands until the box loses the focus; the arrows and the
// Up and Down keys set a value from the program, clamped to the bounds. Every change of
// the text, however it came about, is reported once by changed().
class SpinBox : public QWidget {
    Q_OBJECT

public:
    SpinBox(text::SpinValue& value, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    /// Shows the value's text after the program changed it; reports no change.
    void showValue();
    /// What the arrows do: the value plus `steps`, clamped to the bounds.
    void stepBy(int steps);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setEditText(const std::string& text);

    text::SpinValue& m_value;
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    bool m_showing = false;
};

} // namespace orvane::app
