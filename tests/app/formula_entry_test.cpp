#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStatusBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

#include "app/formula_dialog.h"
#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "data/data_tables.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// A formula typed as text, keyboard only: F2, the formula, Enter.
class FormulaEntryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;

    FormulaDialog& dialog() const { return app->window->formulaDialog(); }
    QLineEdit* typed() const { return dialog().formulaBox()->lineEdit(); }
    void pressF2() const {
        QVERIFY(app->activate(*app->window));
        QTest::keyClick(app->window.get(), Qt::Key_F2);
    }
    void openAndType(const QString& formula) const {
        pressF2();
        QVERIFY(dialog().isVisible());
        typed()->selectAll();
        QTest::keyClicks(typed(), formula);
    }
    std::string count(const char* symbol) const {
        return app->elements().cell(shippedColumn(QLatin1String(symbol)), data::CountRow);
    }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void aRefusedTextKeepsTheDialogOpenWithTheReason() {
        openAndType(QStringLiteral("Ca(OH"));
        QVERIFY(app->window->tablesLoaded()); // F2 loaded the tables first
        QTest::keyClick(typed(), Qt::Key_Return);
        QVERIFY(dialog().isVisible());
        QVERIFY(dialog().previewLine()->text().contains(QStringLiteral("position 3")));
        QCOMPARE(dialog().previewLine()->palette().color(QPalette::WindowText), QColor(200, 0, 0));
        QVERIFY(app->dialogs.errors.empty());
        QCOMPARE(count("Ca"), std::string("0")); // nothing written
        QVERIFY(!app->session->state().hasPicture);
    }

    void aLongRefusalWrapsAndTheCursorGoesToTheFault() {
        // a 300-residue sequence with a stray "@" at position 309, its text quoted in the reason
        const QString peptide =
            QStringLiteral("peptide(") + QString(300, QLatin1Char('A')) + QStringLiteral("@K)");
        openAndType(peptide);
        QTest::keyClick(typed(), Qt::Key_Return);
        QVERIFY(dialog().isVisible());
        const QString shown = dialog().previewLine()->text();
        QVERIFY2(shown.contains(QStringLiteral("position 309")), qPrintable(shown));
        // no run without a break longer than the label's wrapping can take
        int run = 0;
        for (const QChar c : shown) {
            run = c.isSpace() || c == QChar(0x200B) ? 0 : run + 1;
            QVERIFY(run <= 32);
        }
        QVERIFY(dialog().previewLine()->wordWrap());
        QCOMPARE(typed()->cursorPosition(), 308);
        QVERIFY(!typed()->hasSelectedText());
        // the weight of a huge formula is written whole, not cut to the FW box's 8 characters
        typed()->selectAll();
        QTest::keyClicks(typed(), QStringLiteral("C100000000000"));
        QVERIFY2(dialog().previewLine()->text().contains(QStringLiteral("FW 1201100000000")),
                 qPrintable(dialog().previewLine()->text()));
    }

    void aSequencesChargeLastsForItsOwnFormulaAndTheAxisIsNamed() {
        const std::string ionBefore = app->session->state().ionText;
        const std::string chargeBefore = app->session->state().settings.charge.text();
        // what is read but likely not meant is said under the text as it is typed
        openAndType(QStringLiteral("peptide(GlyGly)"));
        QVERIFY2(
            dialog().previewLine()->text().contains(QStringLiteral("did you mean peptide(GG)?")),
            qPrintable(dialog().previewLine()->text()));
        // with every line of it in sight
        QTRY_VERIFY(dialog().previewLine()->height() >=
                    dialog().previewLine()->heightForWidth(dialog().previewLine()->width()));
        typed()->selectAll();
        QTest::keyClicks(typed(), QStringLiteral("peptide(EMEVEESPEK/2)"));
        QTest::keyClick(typed(), Qt::Key_Return);
        QVERIFY(!dialog().isVisible());
        QCOMPARE(app->session->state().ionText, std::string("[M+zH]z+"));
        QCOMPARE(app->session->state().settings.charge.text(), std::string("2"));
        QVERIFY(app->activate(*app->window));
        QTest::keyClick(app->window.get(), Qt::Key_F12);
        QMainWindow& window = app->window->highResolutionWindow();
        QVERIFY(window.isVisible());
        // the main window's axis is the molecule's mass over 2, without the two protons
        QTRY_VERIFY2(window.statusBar()->currentMessage().contains(
                         QStringLiteral("the main window's m/z axis is M/2 (")),
                     qPrintable(window.statusBar()->currentMessage()));
        // the next formula finds the ion and the charge as they were
        openAndType(QStringLiteral("C6H12O6"));
        QTest::keyClick(typed(), Qt::Key_Return);
        QCOMPARE(app->session->state().ionText, ionBefore);
        QCOMPARE(app->session->state().settings.charge.text(), chargeBefore);
        QTRY_VERIFY2(window.statusBar()->currentMessage().contains(
                         QStringLiteral("the main window's m/z axis is M/1 (")),
                     qPrintable(window.statusBar()->currentMessage()));
        QVERIFY(app->dialogs.errors.empty());
    }

    void theDialogOpensWithoutAnErrorAndCancelHidesIt() {
        pressF2();
        QVERIFY(dialog().isVisible());
        QCOMPARE(dialog().previewLine()->text(), QString()); // nothing typed, nothing red
        QTest::keyClicks(typed(), QStringLiteral("Xx"));
        QCOMPARE(dialog().previewLine()->palette().color(QPalette::WindowText), QColor(200, 0, 0));
        auto* cancel = dialog().findChild<QPushButton*>(QStringLiteral("Cancel"));
        QVERIFY(cancel != nullptr);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!dialog().isVisible());
        QVERIFY(!app->session->state().hasPicture);
    }

    void f2TypeEnterGivesTheCountsTheFormulaAndThePicture() {
        app->enterCount(shippedColumn(QStringLiteral("C")), QStringLiteral("6"));
        openAndType(QStringLiteral("Ca(OH)2"));
        // the preview says how the table reads it and its weight, then the Hill formula and
        // the monoisotopic mass (39.96259098 + 2 x 15.99491462 + 2 x 1.007825032)
        QCOMPARE(dialog().previewLine()->text(),
                 QStringLiteral("H2O2Ca1    FW 74.092\nCaH2O2    monoisotopic 73.968070"));
        QTest::keyClick(typed(), Qt::Key_Return);
        QVERIFY(!dialog().isVisible());
        QCOMPARE(count("Ca"), std::string("1"));
        QCOMPARE(count("O"), std::string("2"));
        QCOMPARE(count("H"), std::string("2"));
        QCOMPARE(count("C"), std::string("0")); // every other count back to 0
        QCOMPARE(app->text("Formula"), QStringLiteral("H2O2Ca1"));
        QVERIFY(app->dialogs.errors.empty());
        const QImage& image = app->canvas.image();
        QCOMPARE(image.pixel(771, 300), qRgb(0, 0, 0)); // the frame of the new picture

        // Opened again: the formula as typed, selected, and earlier ones to pick from.
        openAndType(QStringLiteral("CuSO4.5H2O"));
        QTest::keyClick(typed(), Qt::Key_Return);
        pressF2();
        QCOMPARE(typed()->text(), QStringLiteral("CuSO4.5H2O"));
        QCOMPARE(typed()->selectedText(), QStringLiteral("CuSO4.5H2O"));
        QCOMPARE(dialog().formulaBox()->count(), 2);
        QCOMPARE(dialog().formulaBox()->itemText(0), QStringLiteral("CuSO4.5H2O"));
        QCOMPARE(dialog().formulaBox()->itemText(1), QStringLiteral("Ca(OH)2"));
        QCOMPARE(count("O"), std::string("9")); // a point before "5H2O" begins a hydrate part
        QCOMPARE(count("H"), std::string("10"));
    }

    void labelsShowInTheFormulaAndACountCellOffersF2() {
        openAndType(QStringLiteral("[13C]6{99%}H12O6"));
        // the preview: the labels after their element, then the Hill formula and the
        // monoisotopic mass (6 x 13.00335484 + 12 x 1.007825032 + 6 x 15.99491462)
        QVERIFY(dialog().previewLine()->text().startsWith(QStringLiteral("H12[13C]{99%}6O6")));
        QVERIFY(dialog().previewLine()->text().endsWith(
            QStringLiteral("[13C]{99%}6H12O6    monoisotopic 186.083517")));
        QTest::keyClick(typed(), Qt::Key_Return);
        QVERIFY(!dialog().isVisible());
        QCOMPARE(count("C"), std::string("0")); // the cell keeps the unlabelled atoms
        QCOMPARE(app->text("Formula"), QStringLiteral("H12[13C]{99%}6O6"));
        QVERIFY(app->window->findChild<QLineEdit*>(QStringLiteral("Formula"))
                    ->toolTip()
                    .contains(QStringLiteral("Label [13C]{99%}: 6 atoms, 99 % 13C")));

        // a click into the C cell says so and offers F2; "No" edits the cell after all
        app->dialogs.confirmAnswer = false;
        app->clickCell(shippedColumn(QStringLiteral("C")), data::CountRow);
        QCOMPARE(app->dialogs.questions.size(), std::size_t{1});
        QVERIFY(app->dialogs.questions[0].find("[13C]{99%}6") != std::string::npos);
        QVERIFY(!dialog().isVisible());
        app->dialogs.confirmAnswer = true;
        app->clickCell(shippedColumn(QStringLiteral("C")), data::CountRow);
        QVERIFY(dialog().isVisible());
        dialog().hide();
        // an unlabelled element's cell asks nothing
        app->clickCell(shippedColumn(QStringLiteral("O")), data::CountRow);
        QCOMPARE(app->dialogs.questions.size(), std::size_t{2});
    }

    void aCancelledFormulaPutsEveryCountBack() {
        app->enterCount(shippedColumn(QStringLiteral("C")), QStringLiteral("2"));
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* progress = qobject_cast<QProgressDialog*>(widget);
                    progress != nullptr && progress->isVisible()) {
                    progress->cancel();
                }
            }
        });
        watcher.start(5);
        openAndType(QStringLiteral("C100000H2"));
        QTest::keyClick(typed(), Qt::Key_Return);
        QVERIFY(dialog().isVisible());
        QCOMPARE(count("C"), std::string("2"));
        QCOMPARE(count("H"), std::string("0"));
        QCOMPARE(app->text("Formula"), QStringLiteral("C2"));
        QCOMPARE(typed()->text(), QStringLiteral("C100000H2")); // what was typed stays
    }
};

static RegisterTest registration("FormulaEntryTest",
                                 [] { return std::make_unique<FormulaEntryTest>(); });

} // namespace orvane::app::testing

#include "formula_entry_test.moc"
