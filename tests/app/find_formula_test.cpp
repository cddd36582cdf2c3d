#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <memory>
#include <string>

#include "app/find_candidate_model.h"
#include "app/find_formula_window.h"
#include "app/high_resolution_window.h"
#include "app/ion_cluster_model.h"
#include "app/main_window.h"
#include "app/profile_plot_view.h"
#include "plot/profile_plot.h"
#include "plot/view_range.h"
#include "data/data_tables.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// Formula finding, keyboard first: F3, an m/z, Enter; a double-click enters a candidate.
class FindFormulaTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;

    FindFormulaWindow& finder() const { return app->window->findFormulaWindow(); }
    void pressF3() const {
        QVERIFY(app->activate(*app->window));
        QTest::keyClick(app->window.get(), Qt::Key_F3);
    }
    void search(const QString& mz) const {
        pressF3();
        QVERIFY(finder().isVisible());
        finder().mzBox()->selectAll();
        QTest::keyClicks(finder().mzBox(), mz);
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);
    }
    QString cell(int row, int column) const {
        const QAbstractItemModel* model = finder().table()->model();
        return model->data(model->index(row, column)).toString();
    }
    std::string count(const char* symbol) const {
        return app->elements().cell(shippedColumn(QLatin1String(symbol)), data::CountRow);
    }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void aRefusedSearchSaysWhyAndEmptiesTheTable() {
        search(QStringLiteral("195.0877"));
        QVERIFY(finder().table()->model()->rowCount() > 0);
        search(QStringLiteral("abc"));
        QCOMPARE(finder().table()->model()->rowCount(), 0);
        QCOMPARE(finder().summary()->text(), QStringLiteral("m/z 'abc' is not a number."));
        finder().mzBox()->setText(QStringLiteral("195.0877"));
        finder().elementsBox()->setText(QStringLiteral("C0-10 Qq1"));
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);
        QCOMPARE(finder().table()->model()->rowCount(), 0);
        QVERIFY(finder().summary()->text().contains(QStringLiteral("position 7")));
        QVERIFY(app->dialogs.errors.empty());
    }

    void tabFollowsTheBoxesAndF2ReachesTheFormulaDialog() {
        pressF3();
        const QStringList expected = {
            QStringLiteral("TargetMz"),      QStringLiteral("Tolerance"),
            QStringLiteral("ToleranceUnit"), QStringLiteral("Ions"),
            QStringLiteral("ElementRanges"), QStringLiteral("PeriodicTable"),
            QStringLiteral("Rdbe"),          QStringLiteral("Rules"),
            QStringLiteral("RuleSwitches"),  QStringLiteral("Candidates")};
        QWidget* box = finder().mzBox();
        for (qsizetype i = 1; i < expected.size(); ++i) {
            box = box->nextInFocusChain();
            while (box->focusPolicy() == Qt::NoFocus || !box->isVisible()) {
                box = box->nextInFocusChain();
            }
            QCOMPARE(box->objectName(), expected[i]);
        }
        // the main window's keys work from this window too
        QVERIFY(app->activate(finder()));
        QTest::keyClick(&finder(), Qt::Key_F2);
        QTRY_VERIFY(app->window->formulaDialog().isVisible());
    }

    void thePeriodicPickerSwitchesRangesOnAndOff() {
        pressF3();
        auto* open = finder().findChild<QToolButton*>(QStringLiteral("PeriodicTable"));
        QVERIFY(open != nullptr);
        QTest::mouseClick(open, Qt::LeftButton);
        QVERIFY(finder().elementPicker() != nullptr);
        auto* selenium = finder().elementPicker()->findChild<QToolButton*>(QStringLiteral("Se"));
        QVERIFY(selenium != nullptr && selenium->isEnabled() && !selenium->isChecked());
        // what the ranges name is shown checked; what the table lacks cannot be picked
        QVERIFY(
            finder().elementPicker()->findChild<QToolButton*>(QStringLiteral("Cl"))->isChecked());
        QVERIFY(
            !finder().elementPicker()->findChild<QToolButton*>(QStringLiteral("Og"))->isEnabled());
        QTest::mouseClick(selenium, Qt::LeftButton);
        QCOMPARE(finder().elementsBox()->text(),
                 QStringLiteral("C0-60 H0-120 N0-10 O0-20 P0-3 S0-4 Cl0-4 Br0-3 Se0-10"));
        // it stays open for the next one, shown as picked
        QVERIFY(finder().elementPicker() != nullptr);
        QVERIFY(selenium->isChecked());
        QTest::mouseClick(finder().elementPicker()->findChild<QToolButton*>(QStringLiteral("Cl")),
                          Qt::LeftButton);
        QCOMPARE(finder().elementsBox()->text(),
                 QStringLiteral("C0-60 H0-120 N0-10 O0-20 P0-3 S0-4 Br0-3 Se0-10"));
        QTest::keyClick(finder().elementPicker(), Qt::Key_Escape);
        QTRY_VERIFY(finder().elementPicker() == nullptr); // Escape closes it
    }

    void f3AnMzAndEnterFillTheTable() {
        pressF3();
        QVERIFY(app->window->tablesLoaded()); // F3 loaded the tables first
        QCOMPARE(finder().windowTitle(), QStringLiteral("Find Formula"));
        QCOMPARE(finder().ionsBox()->text(), QStringLiteral("[M+H]+")); // the ion box's preset
        QVERIFY(app->activate(finder()));
        QCOMPARE(QApplication::focusWidget(), finder().mzBox());
        QTest::keyClicks(finder().mzBox(), QStringLiteral("195.0877"));
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);

        QAbstractItemModelTester tester(finder().table()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const int rows = finder().table()->model()->rowCount();
        QVERIFY(rows >= 3);
        QCOMPARE(cell(0, 0), QStringLiteral("1"));
        QCOMPARE(cell(0, 1), QStringLiteral("C8H10N4O2"));
        QCOMPARE(cell(0, 2), QStringLiteral("[M+H]+"));
        QCOMPARE(cell(0, 5), QStringLiteral("6"));
        QVERIFY(finder().summary()->text().endsWith(QStringLiteral("removed by rules")));
        QVERIFY(finder().summary()->text().startsWith(QString::number(rows) +
                                                      QStringLiteral(" candidates; ")));

        // sorted by a column, and back by rank
        finder().table()->sortByColumn(1, Qt::DescendingOrder);
        QVERIFY(cell(0, 1) >= cell(rows - 1, 1));
        QVERIFY(cell(0, 1) != QStringLiteral("C8H10N4O2") || rows == 1);
        finder().table()->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(cell(0, 1), QStringLiteral("C8H10N4O2"));

        // without one rule some more formulas stay, without them all more still
        QVERIFY(finder().ruleSwitch("senior") != nullptr);
        QVERIFY(finder().ruleSwitch("ratios") == nullptr);
        finder().ruleSwitch("lewis")->setChecked(false);
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);
        const int withoutLewis = finder().table()->model()->rowCount();
        QVERIFY(withoutLewis > rows);
        finder().ruleSwitch("lewis")->setChecked(true);
        finder().rulesBox()->setChecked(false);
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);
        QVERIFY(finder().table()->model()->rowCount() > rows);
    }

    void aCancelStopsABigSearchAndKeepsTheWindowUsable() {
        pressF3();
        finder().toleranceBox()->setText(QStringLiteral("100000"));
        finder().elementsBox()->setText(QStringLiteral("C0-150 H0-300 N0-40 O0-60 P0-5 S0-5"));
        finder().rulesBox()->setChecked(false);
        // the Cancel comes with the first events the walk lets through, long before its end
        QTimer::singleShot(0, &finder(), [this] {
            for (QProgressDialog* progress : finder().findChildren<QProgressDialog*>()) {
                progress->cancel();
            }
        });
        search(QStringLiteral("2000"));
        const QString summary = finder().summary()->text();
        QVERIFY2(summary.contains(QStringLiteral("before the search was cancelled")),
                 qPrintable(summary));
        QVERIFY(finder().table()->model()->rowCount() <= 100000);
        // and the next search runs whole
        finder().toleranceBox()->setText(QStringLiteral("5"));
        finder().elementsBox()->setText(
            QStringLiteral("C0-60 H0-120 N0-10 O0-20 P0-3 S0-4 Cl0-4 Br0-3"));
        finder().rulesBox()->setChecked(true);
        search(QStringLiteral("195.0877"));
        QCOMPARE(cell(0, 1), QStringLiteral("C8H10N4O2"));
        QVERIFY(!finder().summary()->text().contains(QStringLiteral("cancelled")));
    }

    void aDoubleClickEntersTheCandidateAndShowsItsIon() {
        search(QStringLiteral("181.0707"));
        QCOMPARE(cell(0, 1), QStringLiteral("C6H12O6"));
        QTableView* table = finder().table();
        const QRect first = table->visualRect(table->model()->index(0, 1));
        // a double-click is a click and then the second press
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(count("C"), std::string("6"));
        QCOMPARE(count("H"), std::string("12"));
        QCOMPARE(count("O"), std::string("6"));
        QVERIFY(app->session->state().hasPicture);
        QCOMPARE(app->session->state().ionText, std::string("[M+H]+"));
        QVERIFY(app->window->highResolutionWindow().isVisible());
        QVERIFY(app->dialogs.errors.empty());

        // shown already, a second candidate leaves it shown (it once toggled it away)
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, first.center());
        QVERIFY(app->window->highResolutionWindow().isVisible());
        // minimised, F12 brings it back
        HighResolutionWindow& window = app->window->highResolutionWindow();
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized() || !window.isVisible());
        QVERIFY(app->activate(*app->window));
        QTest::keyClick(app->window.get(), Qt::Key_F12);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }

    void aClickOnAMeasuredPeakSearchesItsMzWithTheSpectrum() {
        search(QStringLiteral("181.0707"));
        QTableView* table = finder().table();
        const QRect first = table->visualRect(table->model()->index(0, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, first.center());
        HighResolutionWindow& window = app->window->highResolutionWindow();
        QVERIFY(window.isVisible());
        finder().hide();

        // glucose's own [M+H]+ clusters as the measured peak list
        QString peaks;
        const IonClusterModel& clusters = window.clusters();
        for (int row = 0; row < clusters.rowCount(); ++row) {
            peaks += clusters.index(row, 2).data().toString() + QLatin1Char('\t') +
                     clusters.index(row, 3).data().toString() + QLatin1Char('\n');
        }
        const QString path = app->directory.filePath(QStringLiteral("glucose.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(peaks.toUtf8());
        file.close();
        app->dialogs.spectrumName = path;
        app->run("Open1");
        QVERIFY(app->dialogs.errors.empty());
        ProfilePlotView& plot = window.plot();
        QVERIFY(!plot.content().measured.empty());

        // a click beside nothing measured does nothing; one on the first peak opens the finder
        const plot::PlotFrame frame = plot::highResolutionFrame(plot.width(), plot.height());
        const double mz = clusters.index(0, 2).data().toString().toDouble();
        const auto clickAt = [&](double at) {
            const QPoint point(static_cast<int>(plot::columnOf(plot.view(), frame, at)),
                               static_cast<int>(plot::rowOf(plot.view(), frame, 50)));
            QTest::mouseClick(&plot, Qt::LeftButton, {}, point);
        };
        clickAt(mz - 0.5);
        QVERIFY(!finder().isVisible());
        clickAt(mz);
        QVERIFY(finder().isVisible());
        QVERIFY(std::abs(finder().mzBox()->text().toDouble() - mz) < 1e-5);
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);
        QCOMPARE(cell(0, 1), QStringLiteral("C6H12O6"));
        QVERIFY(!cell(0, 6).isEmpty()); // scored against the spectrum
        QVERIFY(
            finder().summary()->text().contains(QStringLiteral("scored by the measured spectrum")));
        // and what its M+2 says: glucose has no Cl, Br or S
        QVERIFY2(finder().summary()->text().endsWith(
                     QStringLiteral("carbon and oxygen alone, no Cl or Br")),
                 qPrintable(finder().summary()->text()));

        // an Orbitrap chosen in the high-resolution window: both windows score by its errors,
        // and the formula's isotope score is the same in both
        auto* instrument = window.findChild<QComboBox*>(QStringLiteral("Instrument"));
        QVERIFY(instrument != nullptr);
        const int orbitrap = instrument->findText(QStringLiteral("Orbitrap"));
        QVERIFY(orbitrap > 0);
        instrument->setCurrentIndex(orbitrap);
        emit instrument->activated(orbitrap);
        QCOMPARE(app->session->state().instrument, std::string("Orbitrap"));
        const QString shown = window.findChild<QLabel*>(QStringLiteral("IsotopeScore"))->text();
        QVERIFY2(shown.startsWith(QStringLiteral("isotope score ")), qPrintable(shown));
        QTest::keyClick(finder().mzBox(), Qt::Key_Return);
        QCOMPARE(cell(0, 1), QStringLiteral("C6H12O6"));
        QVERIFY(finder().summary()->text().contains(QStringLiteral("as from an Orbitrap")));
        QVERIFY2(shown.startsWith(QStringLiteral("isotope score ") + cell(0, 6) +
                                  QStringLiteral("   cosine ") + cell(0, 7)),
                 qPrintable(shown + QStringLiteral(" / ") + cell(0, 6) + QStringLiteral(" ") +
                            cell(0, 7)));

        // an m/z the spectrum holds no peak at: ranked by mass, unscored, and said so
        search(QStringLiteral("304.1543"));
        QVERIFY(finder().table()->model()->rowCount() > 0);
        for (int row = 0; row < finder().table()->model()->rowCount(); ++row) {
            QVERIFY2(cell(row, 6).isEmpty() || cell(row, 6) == QStringLiteral("none"),
                     qPrintable(cell(row, 6)));
        }
        QVERIFY2(finder().summary()->text().contains(QStringLiteral(
                     "the measured spectrum has no peak within 5 ppm of m/z 304.1543; ranked by "
                     "mass alone")),
                 qPrintable(finder().summary()->text()));
        QVERIFY(!finder().summary()->text().contains(QStringLiteral("scored by the measured")));
    }
};

static RegisterTest registration("FindFormulaTest",
                                 [] { return std::make_unique<FindFormulaTest>(); });

} // namespace orvane::app::testing

#include "find_formula_test.moc"
