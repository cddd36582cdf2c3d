#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/main_window.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// Everything of the main window reachable from the keyboard.
class KeyboardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;
    const int carbon = shippedColumn(QStringLiteral("C"));

private slots:
    void init() {
        app = std::make_unique<TestApplication>();
        app->enterCount(carbon, QStringLiteral("6"));
        QVERIFY(app->activate(*app->window));
    }
    void cleanup() { app.reset(); }

    void shortcutsTriggerTheirEntries() {
        const struct {
            const char* action;
            QKeySequence keys;
        } cases[] = {
            {"Open1", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"SaveNormal", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"SavePicture", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
            {"CopyGraphics", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
            {"Exit1", QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {"ShowMSData1", QKeySequence(Qt::Key_F8)},
            {"Formula1", QKeySequence(Qt::Key_F2)},
            {"Help1", QKeySequence(Qt::Key_F1)},
        };
        for (const auto& c : cases) {
            QAction* action = app->control<QAction>(c.action);
            QVERIFY2(action != nullptr, c.action);
            QVERIFY2(action->shortcuts().contains(c.keys), c.action);
        }
        // and they reach the window's handlers: Ctrl+S offers the save dialog
        app->dialogs.chosenName.clear();
        QTest::keySequence(app->window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(app->dialogs.offeredNames.size(), 1);
        QTest::keySequence(app->window.get(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QCOMPARE(app->dialogs.offeredPictures.size(), std::size_t{1});
        QTest::keySequence(app->window.get(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QVERIFY(!app->window->isVisible());
    }

    void captionsKeepTheirTextsBesideTheirMnemonics() {
        const struct {
            const char* name;
            QString shown;
        } captions[] = {
            {"File1", QStringLiteral("&File")},
            {"Option1", QStringLiteral("&Option")},
            {"Formula1", QStringLiteral("Fo&rmula")},
            {"SaveNormal", QStringLiteral("Save_Normal")},
        };
        for (const auto& c : captions) {
            QObject* item = app->window->findChild<QObject*>(QLatin1String(c.name));
            QVERIFY2(item != nullptr, c.name);
            const auto* menu = qobject_cast<QMenu*>(item);
            QCOMPARE(menu ? menu->title() : qobject_cast<QAction*>(item)->text(), c.shown);
        }
        // the read-only Formula field says how a formula is entered
        QVERIFY(app->control<QLineEdit>("Formula")->toolTip().contains(QStringLiteral("F2")));
    }

    void f1ShowsTheKeysAndTheFormulaGrammar() {
        QString shown;
        bool fixedPitch = false;
        QTimer::singleShot(0, [&shown, &fixedPitch] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                // its columns line up
                const auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                fixedPitch = text != nullptr && text->font().fixedPitch();
                box->accept();
            }
        });
        QTest::keyClick(app->window.get(), Qt::Key_F1);
        QVERIFY2(shown.contains(QStringLiteral("Ctrl+Shift+S")), qPrintable(shown));
        QVERIFY(fixedPitch);
        QVERIFY(shown.contains(QStringLiteral("FeCl3.6H2O")));
    }

    void enterInARangeBoxApplies() {
        auto* left = app->control<QLineEdit>("Edit1");
        auto* right = app->control<QLineEdit>("Edit2");
        left->setText(QStringLiteral("70"));
        right->setText(QStringLiteral("90.0"));
        QTest::keyClick(right, Qt::Key_Return);
        QCOMPARE(app->session->state().plotState.xmin, 70.0);
        QCOMPARE(app->session->state().plotState.xmax, 90.0);
        QCOMPARE(right->text(), QStringLiteral("90")); // rewritten as Apply does
        left->setText(QStringLiteral("60"));
        QTest::keyClick(left, Qt::Key_Enter);
        QCOMPARE(app->session->state().plotState.xmin, 60.0);
    }
};

static RegisterTest registration("KeyboardTest", [] { return std::make_unique<KeyboardTest>(); });

} // namespace orvane::app::testing

#include "keyboard_test.moc"
