#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

#include "app/count_dialog.h"
#include "app/element_grid_view.h"
#include "app/main_window.h"
#include "data/data_tables.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// The count entry's corner cases: what opens the "Input Scale" dialog, where, and with
// which text.
class CountEntryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;
    const int hydrogen = shippedColumn(QStringLiteral("H"));
    const int carbon = shippedColumn(QStringLiteral("C"));

    QModelIndex current() const { return app->grid()->currentIndex(); }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void typingIntoTheTableMovesNothingAndOpensNothing() {
        app->clickCell(carbon, data::WeightRow);
        QVERIFY(app->window->tablesLoaded());
        const QModelIndex before = current();
        // The count cell below starts with "0" and the symbols with letters: a search by
        // typed text would land on them.
        for (const QString& typed : {QStringLiteral("0"), QStringLiteral("C")}) {
            QTest::keyClicks(app->grid(), typed);
            QCOMPARE(current(), before);
            QCOMPARE(app->window->selectedColumn(), carbon);
            QCOMPARE(app->window->selectedRow(), int(data::WeightRow));
            QVERIFY(!app->window->countDialog().isVisible());
        }
        QCOMPARE(app->elements().cell(carbon, data::WeightRow), std::string("12.011"));
        QVERIFY(app->dialogs.errors.empty());
    }

    void clicksOutsideTheCountsOfElementsOpenNothing() {
        const struct {
            int column;
            int row;
        } cells[] = {{0, data::CountRow},
                     {carbon, data::SymbolRow},
                     {carbon, data::WeightRow},
                     {carbon, data::PercentRow}};
        for (const auto& cell : cells) {
            app->clickCell(cell.column, cell.row);
            QCOMPARE(app->window->selectedColumn(), cell.column);
            QCOMPARE(app->window->selectedRow(), cell.row);
            QVERIFY(!app->window->countDialog().isVisible());
        }
        QVERIFY(app->window->tablesLoaded());
        QVERIFY(app->dialogs.errors.empty());
    }

    void secondCountCellMovesTheOpenDialogAndRefillsIt() {
        app->enterCount(hydrogen, QStringLiteral("12"));
        CountDialog& dialog = app->window->countDialog();
        QVERIFY(!dialog.isVisible());

        app->clickCell(carbon, data::CountRow);
        const QPoint first = app->window->pressPoint();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.frameGeometry().topLeft(), first);
        QCOMPARE(app->dialogEdit()->text(), QStringLiteral("0"));
        app->dialogEdit()->setText(QStringLiteral("5")); // typed, not confirmed

        app->clickCell(hydrogen, data::CountRow);
        const QPoint second = app->window->pressPoint();
        QVERIFY(second != first);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.frameGeometry().topLeft(), second);
        QCOMPARE(app->dialogEdit()->text(), QStringLiteral("12"));
        QCOMPARE(app->elements().cell(carbon, data::CountRow), std::string("0"));
    }

    void closingTheDialogLeavesTheCellUnchanged() {
        app->clickCell(carbon, data::CountRow);
        CountDialog& dialog = app->window->countDialog();
        QVERIFY(dialog.isVisible());
        app->dialogEdit()->setText(QStringLiteral("7"));
        QVERIFY(dialog.close());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(app->elements().cell(carbon, data::CountRow), std::string("0"));
        QCOMPARE(app->text("Formula"), QString());
        QVERIFY(!app->session->state().hasPicture);
        QVERIFY(app->dialogs.errors.empty());
    }

    void keyboardMoveWithoutAnyPressOpensTheDialogAtTheScreenCorner() {
        // The first move, from the symbol row of column 0, loads the tables.
        QTest::keyClick(app->grid(), Qt::Key_Right);
        QVERIFY(app->window->tablesLoaded());
        QVERIFY(!app->window->countDialog().isVisible());
        QTest::keyClick(app->grid(), Qt::Key_Down);
        QVERIFY(!app->window->countDialog().isVisible());
        QTest::keyClick(app->grid(), Qt::Key_Down);
        QCOMPARE(app->window->selectedColumn(), 1);
        QCOMPARE(app->window->selectedRow(), int(data::CountRow));
        CountDialog& dialog = app->window->countDialog();
        QVERIFY(dialog.isVisible());
        QCOMPARE(app->window->pressPoint(), QPoint(0, 0));
        QCOMPARE(dialog.frameGeometry().topLeft(), QPoint(0, 0));
        QCOMPARE(app->dialogEdit()->text(), QStringLiteral("0"));
    }
};

static RegisterTest registration("CountEntryTest",
                                 [] { return std::make_unique<CountEntryTest>(); });

} // namespace orvane::app::testing

#include "count_entry_test.moc"
