#include "app/spin_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace orvane::app {

namespace {

constexpr int buttonWidth = 15;

QToolButton* makeArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The arrows leave the focus in the text, so that using them never counts as
    // leaving the box.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

SpinBox::SpinBox(text::SpinValue& value, QWidget* parent)
    : QWidget(parent), m_value(value), m_edit(new QLineEdit(this)),
      m_up(makeArrow(Qt::UpArrow, this)), m_down(makeArrow(Qt::DownArrow, this)) {
    setFocusProxy(m_edit);
    m_edit->setText(QString::fromStdString(m_value.text()));
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_showing) {
            return;
        }
        m_value.setText(text.toStdString());
        emit changed();
    });
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void SpinBox::showValue() {
    m_showing = true;
    setEditText(m_value.text());
    m_showing = false;
}

void SpinBox::stepBy(int steps) {
    m_value.setValue(static_cast<long long>(m_value.value()) + steps);
    setEditText(m_value.text());
}

void SpinBox::setEditText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (m_edit->text() != shown) {
        m_edit->setText(shown);
    }
}

bool SpinBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    if (watched == m_edit && event->type() == QEvent::FocusOut) {
        // Another window coming to the front (a message box, say) is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_value.loseFocus();
            setEditText(m_value.text());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpinBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int arrows = std::min(buttonWidth, width() / 2);
    const int upper = height() / 2;
    m_edit->setGeometry(0, 0, width() - arrows, height());
    m_up->setGeometry(width() - arrows, 0, arrows, upper);
    m_down->setGeometry(width() - arrows, upper, arrows, height() - upper);
}

} // namespace orvane::app
