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

SpinBox::SpinBox(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_up(makeArrow(Qt::UpArrow, this)),
      m_down(makeArrow(Qt::DownArrow, this)) {
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textEdited, this, &SpinBox::typed);
    connect(m_up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void SpinBox::showText(const QString& text) {
    if (m_edit->text() != text) {
        m_edit->setText(text);
    }
}

bool SpinBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            emit stepped(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    if (watched == m_edit && event->type() == QEvent::FocusOut) {
        // Another window coming to the front (a message box, say) is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            emit leftBox();
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
