#include "app/count_dialog.h"

#include <QLineEdit>
#include <QPushButton>

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

    keepDesignedFrame(*this, designedFrame, FramePlace::AsMoved);
}

void CountDialog::openAt(const QString& text, const QPoint& framePosition) {
    m_edit1->setText(text);
    // Selected, so that what is typed replaces it: 12 over "0" is 12, not 012.
    m_edit1->selectAll();
    move(framePosition.x(), framePosition.y());
    show();
    raise();
    activateWindow();
    m_edit1->setFocus(Qt::OtherFocusReason);
}

} // namespace orvane::app
