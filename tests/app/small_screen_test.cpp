#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <memory>

#include "app/main_window.h"
#include "app/small_screen.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// A 1366x768 laptop leaves about 1366x700 for a window: the designed 852x786 window then
// scrolls its contents, unscaled, instead of hanging off the screen.
class SmallScreenTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void aLargeScreenChangesNothing() {
        MainWindow& window = *app->window;
        const QRect designed = MainWindow::designedOuterFrame();
        QVERIFY(!fitToScreen(window, designed, QRect(0, 0, 1920, 1050)));
        QVERIFY(!fitToScreen(window, designed, QRect(0, 0, 852, 786))); // exactly the size
        QCOMPARE(window.centralWidget()->objectName(), QStringLiteral("Client"));
    }

    void aSmallScreenScrollsTheDesignedContents() {
        MainWindow& window = *app->window;
        QWidget* client = window.centralWidget();
        const QRect formula = window.findChild<QWidget*>(QStringLiteral("Formula"))->geometry();
        QVERIFY(fitToScreen(window, MainWindow::designedOuterFrame(), QRect(0, 24, 1366, 700)));
        auto* scroll = qobject_cast<QScrollArea*>(window.centralWidget());
        QVERIFY(scroll != nullptr);
        QCOMPARE(scroll->widget(), client);
        // nothing rescaled: every control keeps its designed place and size
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("Formula"))->geometry(), formula);
        QVERIFY(client->height() >= 737);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.frameGeometry().height() <= 700);
        // the bottom bar is in sight from the start: what is cut is cut from the top
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        QTRY_COMPARE(scroll->verticalScrollBar()->value(), scroll->verticalScrollBar()->maximum());
        const QWidget* bar = window.findChild<QWidget*>(QStringLiteral("Formula"));
        const QPoint bottom = bar->mapTo(scroll->viewport(), QPoint(0, bar->height()));
        QVERIFY(bottom.y() <= scroll->viewport()->height());
    }

    void theChargeBoxIsVisibleOnA1366x768Screen() {
        MainWindow& window = *app->window;
        QVERIFY(fitToScreen(window, MainWindow::designedOuterFrame(), QRect(0, 0, 1366, 768)));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* scroll = qobject_cast<QScrollArea*>(window.centralWidget());
        QVERIFY(scroll != nullptr);
        const QWidget* charge = window.findChild<QWidget*>(QStringLiteral("SpinEdit1"));
        const QRect shown(charge->mapTo(scroll->viewport(), QPoint(0, 0)), charge->size());
        QVERIFY2(scroll->viewport()->rect().contains(shown),
                 qPrintable(QStringLiteral("Charge box at y %1, viewport %2 high")
                                .arg(shown.bottom())
                                .arg(scroll->viewport()->height())));
    }
};

static RegisterTest registration("SmallScreenTest",
                                 [] { return std::make_unique<SmallScreenTest>(); });

} // namespace orvane::app::testing

#include "small_screen_test.moc"
