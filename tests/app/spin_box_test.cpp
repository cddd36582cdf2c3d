#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/spin_box.h"
#include "test_registry.h"
#include "text/spin_value.h"

namespace orvane::app::testing {

namespace {

void loseFocus(SpinBox& box, Qt::FocusReason reason) {
    QFocusEvent focusOut(QEvent::FocusOut, reason);
    QApplication::sendEvent(box.lineEdit(), &focusOut);
}

} // namespace

class SpinBoxTest : public QObject {
    Q_OBJECT

private slots:
    void typedValueOutsideBoundsStandsUntilFocusLeaves() {
        text::SpinValue charge(1, 100, 1);
        SpinBox box(charge);
        QSignalSpy changes(&box, &SpinBox::changed);
        box.lineEdit()->clear();
        QTest::keyClicks(box.lineEdit(), QStringLiteral("250"));
        QCOMPARE(charge.text(), std::string("250"));
        QCOMPARE(charge.value(), 250);
        QCOMPARE(changes.count(), 4); // cleared, "2", "25", "250"

        loseFocus(box, Qt::TabFocusReason);
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("100"));
        QCOMPARE(charge.value(), 100);
        QCOMPARE(changes.count(), 5);
    }

    void anotherWindowComingForwardIsNotLeavingTheBox() {
        text::SpinValue charge(1, 100, 1);
        SpinBox box(charge);
        box.lineEdit()->setText(QStringLiteral("0"));
        loseFocus(box, Qt::ActiveWindowFocusReason);
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("0"));
        QCOMPARE(charge.value(), 0);
    }

    void textThatIsNoNumberCountsAsMinimum() {
        text::SpinValue threshold(0, 1000, 1);
        SpinBox box(threshold);
        box.lineEdit()->setText(QStringLiteral("abc"));
        QCOMPARE(threshold.value(), 0);
        box.stepBy(1);
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("1"));
    }

    void arrowsClampAndReportOnlyChanges() {
        text::SpinValue charge(1, 100, 99);
        SpinBox box(charge);
        QSignalSpy changes(&box, &SpinBox::changed);
        box.stepBy(1);
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("100"));
        box.stepBy(1); // already at the maximum: the text stays, nothing runs
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("100"));
        QCOMPARE(changes.count(), 1);
        QTest::keyClick(box.lineEdit(), Qt::Key_Down);
        QCOMPARE(charge.value(), 99);
        QCOMPARE(changes.count(), 2);
    }

    void programSetTextIsShownWithoutRunningTheHandler() {
        text::SpinValue column(0, 0, 0);
        SpinBox box(column);
        QSignalSpy changes(&box, &SpinBox::changed);
        column.setValue(57); // minimum equals maximum: any value is taken
        box.showValue();
        QCOMPARE(box.lineEdit()->text(), QStringLiteral("57"));
        QCOMPARE(changes.count(), 0);
    }
};

static RegisterTest registration("SpinBoxTest", [] { return std::make_unique<SpinBoxTest>(); });

} // namespace orvane::app::testing

#include "spin_box_test.moc"
