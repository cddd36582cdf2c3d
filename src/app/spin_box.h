#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace orvane::app {

// An integer box that shows the text its owner holds (a text::SpinValue kept by the
// session or the window): what the user types is reported as it stands (typed), the arrows
// and the Up and Down keys ask for a step (stepped), and leaving the box is reported
// (leftBox), so that the owner can set the value back into its bounds. Showing a text from
// the program reports nothing.
class SpinBox : public QWidget {
    Q_OBJECT

public:
    explicit SpinBox(QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    /// Shows the owner's text; reports nothing.
    void showText(const QString& text);

signals:
    void typed(const QString& text);
    void stepped(int steps);
    void leftBox();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace orvane::app
