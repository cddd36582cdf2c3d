#include "app/count_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/window_geometry.h"

namespace orvane::app {

namespace {

const QRect designedFrame(198, 127, 164, 110);

} // namespace

CountDialog::CountDialog(QWidget* parent)
    : QDialog(parent, Qt::Tool), m_edit1(new QLineEdit(QStringLiteral("1"), this)),
      m_ok1(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Input Scale"));
    setModal(false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);

    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(16, 16, 73, 20);

    m_ok1->setObjectName(QStringLiteral("OK1"));
    m_ok1->setGeometry(16, 48, 75, 25);
    QFont bold = m_ok1->font();
    bold.setBold(true);
    m_ok1->setFont(bold);
    m_ok1->setDefault(true);
    m_ok1->setAutoDefault(true);
    connect(m_ok1, &QPushButton::clicked, this, &CountDialog::ok1Clicked);

    setOuterGeometry(*this, designedFrame);
}

void CountDialog::openAt(const QString& text, const QPoint& framePosition) {
    m_edit1->setText(text);
    move(framePosition.x(), framePosition.y());
    show();
    raise();
    activateWindow();
}

void CountDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_shownBefore) {
        m_shownBefore = true;
        // The frame's size is known only now; keep the outer size, not the position.
        QTimer::singleShot(0, this, [this] {
            setOuterGeometry(*this, QRect(frameGeometry().topLeft(), designedFrame.size()));
        });
    }
}

} // namespace orvane::app
