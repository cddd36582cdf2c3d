#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/spin_box.h"
#include "test_registry.h"

namespace orvane::app::testing {

namespace {

void loseFocus(SpinBox& box, Qt::FocusReason reason) {
    QFocusEvent focusOut(QEvent::FocusOut, reason);
    QApplication::sendEvent(box.lineEdit(), &focusOut);
}

} // namespace

// The box reports what the user does; the rules of its value are the session's.
class SpinBoxTest : public QObject {
    Q_OBJECT

private slots:
    void typingIsReportedAsItStandsAndLeavingTheBoxOnce() {
        SpinBox box;
        QSignalSpy typed(&box, &SpinBox::typed);
        QSignalSpy left(&box, &SpinBox::leftBox);
        QTest::keyClicks(box.lineEdit(), QStringLiteral("250"));
        QCOMPARE(typed.count(), 3); // "2", "25", "250"
        QCOMPARE(typed.last().first().toString(), QStringLiteral("250"));

        // Another window coming to the front (a message box, say) is not leaving the box.
        loseFocus(box, Qt::ActiveWindowFocusReason);
        loseFocus(box, Qt::PopupFocusReason);
        QCOMPARE(left.count(), 0);
        loseFocus(box, Qt::TabFocusReason);
        QCOMPARE(left.count(), 1);
    }

    void arrowsAndArrowKeysAskForSteps() {
        SpinBox box;
        box.resize(49, 21);
        QSignalSpy steps(&box, &SpinBox::stepped);
        const QList<QToolButton*> arrows = box.findChildren<QToolButton*>();
        QCOMPARE(arrows.size(), 2);
        for (QToolButton* arrow : arrows) {
            QCOMPARE(arrow->focusPolicy(), Qt::NoFocus);
            arrow->click();
        }
        QTest::keyClick(box.lineEdit(), Qt::Key_Up);
        QTest::keyClick(box.lineEdit(), Qt::Key_Down);
        QList<int> asked;
        for (const QList<QVariant>& step : steps) {
            asked.append(step.first().toInt());
        }
        QCOMPARE(asked, (QList<int>{1, -1, 1, -1}));
    }

    void textShownByTheProgramIsNotReported() {
        SpinBox box;
        QSignalSpy typed(&box, &SpinBox::typed);
        QSignalSpy steps(&box, &SpinBox::stepped);
        box.showText(QStringLiteral("57"));
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("57"));
        QCOMPARE(typed.count(), 0);
        QCOMPARE(steps.count(), 0);
    }
};

static RegisterTest registration("SpinBoxTest", [] { return std::make_unique<SpinBoxTest>(); });

} // namespace orvane::app::testing

#include "spin_box_test.moc"
