#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/command_failure.h"
#include "app/count_dialog.h"
#include "app/element_grid_view.h"
#include "qtcanvas/image_canvas.h"
#include "app/isotope_window.h"
#include "app/main_window.h"
#include "app/spin_box.h"
#include "data/data_tables.h"
#include "export/pattern_export.h"
#include "export/pattern_layouts.h"
#include "export/safe_file_writer.h"
#include "plot/plot_state.h"
#include "session/session.h"
#include "text/error.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;
    const int hydrogen = shippedColumn(QStringLiteral("H"));
    const int carbon = shippedColumn(QStringLiteral("C"));
    const int oxygen = shippedColumn(QStringLiteral("O"));

private slots:
    void initTestCase() {
        QVERIFY2(hydrogen > 0 && carbon > hydrogen && oxygen > carbon,
                 "the shipped elem.txt lists H, C and O in this order");
    }
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void aWindowsCommandFailsInWordsTheUserReads() {
        const struct {
            const char* name;
            std::function<void()> command;
            std::optional<std::string> failure;
        } cases[] = {
            {"ran through", [] {}, std::nullopt},
            {"the core's error", [] { throw text::Error("Formula \"Q\": unknown element."); },
             "Formula \"Q\": unknown element."},
            {"no memory", [] { throw std::bad_alloc(); },
             "Not enough memory to calculate the pattern."},
            {"a library", [] { throw std::runtime_error("disk on fire"); },
             "Cannot calculate the pattern: disk on fire"},
        };
        for (const auto& c : cases) {
            QCOMPARE(commandFailure("calculate the pattern", c.command), c.failure);
        }
    }

    void startsInItsDesignedState() {
        QCOMPARE(app->window->windowTitle(), QStringLiteral("Orvane for Small Displays"));
        QCOMPARE(app->grid()->model()->columnCount(), 113);
        QCOMPARE(app->grid()->model()->rowCount(), 4);
        for (int column = 0; column < 113; ++column) {
            QVERIFY(app->grid()->model()->headerData(column, Qt::Horizontal).toString().isEmpty());
            for (int row = 0; row < 4; ++row) {
                QVERIFY(app->grid()->model()->index(row, column).data().toString().isEmpty());
            }
        }
        QCOMPARE(app->control<SpinBox>("SpinEdit1")->lineEdit()->text(), QStringLiteral("1"));
        QCOMPARE(app->control<SpinBox>("SpinEdit2")->lineEdit()->text(), QStringLiteral("1"));
        QCOMPARE(app->text("Edit7"), QStringLiteral("0.1"));
        QCOMPARE(app->text("Edit1"), QStringLiteral("0.0"));
        QCOMPARE(app->text("Edit2"), QStringLiteral("1.0"));
        QCOMPARE(app->text("Weight"), QString());
        QCOMPARE(app->text("Formula"), QString());
        QVERIFY(app->control<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!app->control<QCheckBox>("CheckBox2")->isChecked());
        for (const char* name :
             {"Initialize1", "SpinEdit4", "SpinEdit5", "CheckBox2", "Range1", "Spectrum1",
              "Isotope1", "StringGrid2", "Edit5", "Edit6", "StringGrid3"}) {
            QWidget* hidden = app->control<QWidget>(name);
            QVERIFY2(hidden != nullptr && !hidden->isVisible(), name);
        }
        QVERIFY(app->control<QWidget>("Image1")->isVisible());
        QVERIFY(!app->window->countDialog().isVisible());
        QVERIFY(!app->window->isotopeWindow().isVisible());
        QVERIFY(!app->window->tablesLoaded());
        QCOMPARE(app->window->pressPoint(), QPoint(0, 0));
        // Nothing is loaded or drawn at start-up.
        QVERIFY(app->dialogs.notices.empty());
        QVERIFY(!app->session->state().hasPicture);
        QCOMPARE(app->canvas.image().pixel(40, 300), qRgb(255, 255, 255));
    }

    void everyControlIsAtItsDesignedPlaceAlsoAfterAResize() {
        // Places relative to the parent: the client area below the menu bar or a panel.
        const struct {
            const char* name;
            const char* parent;
            QRect place;
        } designed[] = {
            {"StringGrid1", "Client", {0, 0, 841, 97}},
            {"Initialize1", "Client", {176, 40, 75, 25}},
            {"SpinEdit4", "Client", {376, 72, 121, 24}},
            {"SpinEdit5", "Client", {512, 72, 121, 24}},
            {"Panel1", "Client", {-5, 100, 846, 597}},
            {"Image1", "Panel1", {59, 8, 782, 553}},
            {"Edit4", "Panel1", {10, 8, 45, 20}},
            {"Edit3", "Panel1", {10, 540, 45, 20}},
            {"Edit1", "Panel1", {59, 568, 50, 20}},
            {"Button1", "Panel1", {111, 565, 36, 25}},
            {"Button3", "Panel1", {148, 565, 36, 25}},
            {"CheckBox1", "Panel1", {352, 569, 137, 17}},
            {"CheckBox2", "Panel1", {576, 567, 25, 17}},
            {"Button4", "Panel1", {714, 566, 36, 25}},
            {"Button2", "Panel1", {752, 566, 36, 25}},
            {"Edit2", "Panel1", {790, 569, 50, 20}},
            {"Range1", "Panel1", {504, 336, 75, 25}},
            {"Spectrum1", "Panel1", {504, 360, 75, 25}},
            {"Isotope1", "Panel1", {504, 384, 75, 25}},
            {"StringGrid2", "Panel1", {448, 16, 377, 121}},
            {"Edit5", "Panel1", {504, 136, 121, 20}},
            {"Edit6", "Panel1", {656, 136, 121, 20}},
            {"StringGrid3", "Panel1", {117, 19, 324, 526}},
            {"Panel2", "Client", {-1, 696, 842, 41}},
            {"Label5", "Panel2", {8, 16, 48, 12}},
            {"Formula", "Panel2", {64, 11, 281, 20}},
            {"Label1", "Panel2", {350, 15, 18, 12}},
            {"Weight", "Panel2", {373, 11, 80, 23}},
            {"Label3", "Panel2", {470, 15, 38, 12}},
            {"SpinEdit1", "Panel2", {512, 11, 49, 21}},
            {"Label4", "Panel2", {572, 15, 22, 12}},
            {"fw1", "Panel2", {600, 11, 80, 20}},
            {"Label2", "Panel2", {698, 16, 52, 12}},
            {"Edit7", "Panel2", {756, 11, 43, 20}},
            {"SpinEdit2", "Panel2", {800, 10, 21, 21}},
        };
        for (const QSize size : {app->window->size(), QSize(500, 400), QSize(1200, 900)}) {
            app->window->resize(size);
            for (const auto& control : designed) {
                const QWidget* widget = app->control<QWidget>(control.name);
                QVERIFY2(widget != nullptr, control.name);
                QVERIFY2(widget->parentWidget()->objectName() == QLatin1String(control.parent),
                         control.name);
                const QRect place = widget->geometry();
                QVERIFY2(place == control.place, qPrintable(QStringLiteral("%1 at %2, %3, %4 x %5")
                                                                .arg(QLatin1String(control.name))
                                                                .arg(place.x())
                                                                .arg(place.y())
                                                                .arg(place.width())
                                                                .arg(place.height())));
            }
        }
    }

    void labelsFitTheirTextIntoTheirDesignedWidth() {
        const struct {
            const char* name;
            const char* text;
            bool bold;
        } labels[] = {{"Label5", "Formula", true},
                      {"Label1", "FW", true},
                      {"Label3", "Charge:", false},
                      {"Label4", "M/Z", false},
                      {"Label2", "Threshold:", false}};
        for (const auto& expected : labels) {
            const QLabel* label = app->control<QLabel>(expected.name);
            QVERIFY2(label != nullptr, expected.name);
            QCOMPARE(label->text(), QLatin1String(expected.text));
            QCOMPARE(label->font().pixelSize(), 12);
            QCOMPARE(label->font().bold(), expected.bold);
            QCOMPARE(label->margin(), 0);
            QCOMPARE(label->indent(), 0);
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
                     expected.name);
        }
        // The check box's caption fits beside its box, at the designed height.
        const QCheckBox* peaks = app->control<QCheckBox>("CheckBox1");
        QCOMPARE(peaks->text(), QStringLiteral("Show_Peak_Positions"));
        QCOMPARE(peaks->font().pixelSize(), 12);
        QVERIFY(peaks->sizeHint().width() <= peaks->width());
    }

    void typingReplacesTheCountAndLongTextsShowTheirStart() {
        app->clickCell(carbon, data::CountRow);
        QLineEdit* typed = app->dialogEdit();
        QCOMPARE(typed->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(typed, QStringLiteral("12"));
        QTest::keyClick(typed, Qt::Key_Return);
        QCOMPARE(app->elements().cell(carbon, data::CountRow), std::string("12"));
        // Moving to another cell selects its text again.
        app->clickCell(hydrogen, data::CountRow);
        QCOMPARE(app->dialogEdit()->selectedText(), QStringLiteral("0"));

        // 15.9090909... in Edit1 shows 15.90..., not its last digits.
        app->enterCount(carbon, QStringLiteral("350"));
        app->control<SpinBox>("SpinEdit1")->lineEdit()->setFocus();
        QTest::keyClick(app->control<SpinBox>("SpinEdit1")->lineEdit(), Qt::Key_Up);
        for (const char* name : {"Edit1", "Edit2", "fw1"}) {
            QCOMPARE(app->control<QLineEdit>(name)->cursorPosition(), 0);
        }
    }

    void optionTogglesPressedTwiceRestoreEverything() {
        QVERIFY(app->activate(*app->window));
        const struct {
            Qt::Key key;
            const char* target;
        } toggles[] = {{Qt::Key_F8, "StringGrid3"},
                       {Qt::Key_F10, "StringGrid2"},
                       {Qt::Key_F11, "Edit5"},
                       {Qt::Key_F11, "Edit6"}};
        for (const auto& toggle : toggles) {
            QWidget* target = app->control<QWidget>(toggle.target);
            QTest::keyClick(app->window.get(), toggle.key);
            QVERIFY2(target->isVisible(), toggle.target);
            QTest::keyClick(app->window.get(), toggle.key);
            QVERIFY2(!target->isVisible(), toggle.target);
        }
        QTest::keyClick(app->window.get(), Qt::Key_F9);
        QVERIFY(app->window->isotopeWindow().isVisible());
        QVERIFY(app->activate(*app->window));
        QTest::keyClick(app->window.get(), Qt::Key_F9);
        QVERIFY(!app->window->isotopeWindow().isVisible());
    }

    void f9InTheIsotopeWindowHidesIt() {
        QVERIFY(app->activate(*app->window));
        QTest::keyClick(app->window.get(), Qt::Key_F9);
        IsotopeWindow& isotopes = app->window->isotopeWindow();
        QVERIFY(isotopes.isVisible());
        QVERIFY(app->activate(isotopes));
        QTest::keyClick(&isotopes, Qt::Key_F9);
        QVERIFY(!isotopes.isVisible());
        QTest::keyClick(&isotopes, Qt::Key_F9); // hidden: nothing happens
        QVERIFY(!isotopes.isVisible());
    }

    void initializationBeforeLoadZeroesTheDesignedGrid() {
        app->run("Initialization1");
        QVERIFY(app->dialogs.errors.empty());
        for (int column = 1; column < 113; ++column) {
            QCOMPARE(app->elements().cell(column, data::CountRow), std::string("0"));
            QCOMPARE(app->elements().cell(column, data::PercentRow), std::string("0"));
        }
        QCOMPARE(app->elements().cell(0, data::CountRow), std::string());
        QCOMPARE(app->text("Weight"), QStringLiteral("0"));
        QCOMPARE(app->grid()->model()->index(data::CountRow - 1, 112).data().toString(),
                 QStringLiteral("0"));
        QVERIFY(app->session->state().hasPicture);
        QCOMPARE(app->canvas.image().pixel(771, 300), qRgb(0, 0, 0));
        QVERIFY(!app->window->tablesLoaded());

        // The next click on the table still loads the data files.
        app->clickCell(carbon, data::CountRow);
        QVERIFY(app->window->tablesLoaded());
        QCOMPARE(app->elements().cell(carbon, data::SymbolRow), std::string("C"));
        QCOMPARE(app->dialogEdit()->text(), QStringLiteral("0"));
    }

    void firstClickLoadsTheDataAndOpensTheDialogAtThePress() {
        const QPoint point = app->cellPoint(carbon, data::CountRow);
        app->clickCell(carbon, data::CountRow);
        QVERIFY(app->window->tablesLoaded());
        QVERIFY(app->dialogs.notices.empty());
        QVERIFY(app->dialogs.errors.empty());
        QCOMPARE(app->window->selectedColumn(), carbon);
        QCOMPARE(app->window->selectedRow(), int(data::CountRow));
        QCOMPARE(app->grid()->model()->headerData(carbon, Qt::Horizontal).toString(),
                 QString::number(carbon));

        CountDialog& dialog = app->window->countDialog();
        QVERIFY(dialog.isVisible());
        QCOMPARE(app->dialogEdit()->text(), QStringLiteral("0"));
        const QPoint expected = app->window->frameGeometry().topLeft() + app->grid()->pos() +
                                app->grid()->viewport()->mapTo(app->grid(), point);
        QCOMPARE(app->window->pressPoint(), expected);
        QCOMPARE(dialog.frameGeometry().topLeft(), expected);
    }

    void countsEnteredOneAfterAnotherGiveTheFormula() {
        app->enterCount(hydrogen, QStringLiteral("12"));
        app->enterCount(carbon, QStringLiteral("6"));
        app->enterCount(oxygen, QStringLiteral("6"));
        QVERIFY(app->dialogs.errors.empty());
        QVERIFY(!app->window->countDialog().isVisible());
        QCOMPARE(app->text("Formula"), QStringLiteral("H12C6O6"));
        // 12 x 1.008 + 6 x 12.011 + 6 x 15.999
        QCOMPARE(app->text("Weight"), QStringLiteral("180.156"));
        QCOMPARE(app->text("fw1"), QStringLiteral("180.156"));
        QCOMPARE(app->grid()->model()->index(data::CountRow - 1, hydrogen).data().toString(),
                 QStringLiteral("12"));
        QCOMPARE(app->control<QTableView>("StringGrid2")->model()->rowCount(), 3);
        QCOMPARE(app->control<QTableView>("StringGrid2")->model()->index(1, 2).data().toString(),
                 QStringLiteral("C"));
        QVERIFY(app->control<QTableView>("StringGrid3")->model()->rowCount() > 0);

        // The picture: the frame's right edge and top edge, and a stick inside the frame.
        const QImage& image = app->canvas.image();
        QCOMPARE(image.pixel(771, 300), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(400, 5), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(771, 540), qRgb(255, 255, 255));

        // A larger charge redraws with the new m/z.
        QTest::keyClick(app->control<SpinBox>("SpinEdit1")->lineEdit(), Qt::Key_Up);
        QCOMPARE(app->text("fw1"), QStringLiteral("90.078"));
        QVERIFY(app->dialogs.errors.empty());
    }

    void countThatIsNoNumberKeepsTheDialogOpen() {
        app->enterCount(carbon, QStringLiteral("abc"));
        QVERIFY(app->window->countDialog().isVisible());
        QCOMPARE(app->dialogs.errors,
                 std::vector<std::string>{"'abc' は浮動小数点数ではありません"});
        QCOMPARE(app->elements().cell(carbon, data::CountRow), std::string("abc"));
        // the text to correct has the focus again, selected
        QTRY_COMPARE(QApplication::focusWidget(), app->dialogEdit());
        QCOMPARE(app->dialogEdit()->selectedText(), QStringLiteral("abc"));

        // Corrected and confirmed again, it goes through.
        app->dialogEdit()->setText(QStringLiteral("2"));
        QTest::keyClick(app->dialogEdit(), Qt::Key_Return);
        QVERIFY(!app->window->countDialog().isVisible());
        QCOMPARE(app->text("Formula"), QStringLiteral("C2"));
        QCOMPARE(app->dialogs.errors.size(), std::size_t(1));
    }

    void otherButtonsOnlyMoveThePressPoint() {
        app->clickCell(carbon, data::WeightRow); // loads; no dialog on the weight row
        QVERIFY(app->window->tablesLoaded());
        QVERIFY(!app->window->countDialog().isVisible());
        const QPoint before = app->window->pressPoint();

        app->clickCell(carbon, data::CountRow, Qt::RightButton);
        QVERIFY(app->window->pressPoint() != before);
        QCOMPARE(app->window->selectedRow(), int(data::WeightRow));
        QVERIFY(!app->window->countDialog().isVisible());
    }

    void headerRowLoadsNothingAndOpensNothing() {
        QHeaderView* header = app->grid()->horizontalHeader();
        const QPoint point(header->sectionViewportPosition(3) + 10, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
        QVERIFY(!app->window->tablesLoaded());
        QVERIFY(!app->window->countDialog().isVisible());
        QCOMPARE(app->elements().columnCount(), 113);
        QCOMPARE(app->window->selectedRow(), 0);
        const QPoint expected = app->window->frameGeometry().topLeft() + app->grid()->pos() +
                                header->viewport()->mapTo(app->grid(), point);
        QCOMPARE(app->window->pressPoint(), expected);
    }

    void keyboardMoveOntoACountOpensTheDialogAtTheLastPress() {
        app->clickCell(carbon, data::WeightRow);
        const QPoint pressed = app->window->pressPoint();
        QTest::keyClick(app->grid(), Qt::Key_Down);
        QCOMPARE(app->window->selectedRow(), int(data::CountRow));
        QVERIFY(app->window->countDialog().isVisible());
        QCOMPARE(app->window->countDialog().frameGeometry().topLeft(), pressed);
        QCOMPARE(app->window->pressPoint(), pressed);

        // With the dialog open, the selection moves back to the weight row: OK writes there.
        QTest::keyClick(app->grid(), Qt::Key_Up);
        app->dialogEdit()->setText(QStringLiteral("13"));
        QTest::mouseClick(app->window->countDialog().findChild<QPushButton*>("OK1"),
                          Qt::LeftButton);
        QCOMPARE(app->elements().cell(carbon, data::WeightRow), std::string("13"));
        QCOMPARE(app->elements().cell(carbon, data::CountRow), std::string("0"));
    }

    void longCalculationCanBeCancelled() {
        app->enterCount(carbon, QStringLiteral("2"));
        // Cancel the progress window as soon as it shows (the calculation lets events
        // through while it is open).
        bool progressShown = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            auto* progress = app->window->findChild<QProgressDialog*>();
            if (progress != nullptr && progress->isVisible()) {
                QCOMPARE(progress->windowModality(), Qt::ApplicationModal);
                progressShown = true;
                progress->cancel();
            }
        });
        watcher.start(10);
        app->enterCount(carbon, QStringLiteral("100000"));
        QVERIFY(progressShown);
        QVERIFY(app->dialogs.errors.empty());
        // The previous formula's state is back, and the dialog waits for another try.
        QVERIFY(app->window->countDialog().isVisible());
        QCOMPARE(app->text("Formula"), QStringLiteral("C2"));
        QCOMPARE(app->elements().cell(carbon, data::CountRow), std::string("2"));
        QCOMPARE(app->dialogEdit()->text(), QStringLiteral("100000"));
    }

    void theWindowRepaintsBeforeTheProgressWindowOpens() {
        // A progress delay longer than the calculation: no progress window, but the event
        // loop runs (without user input) from the first moment.
        app = std::make_unique<TestApplication>(WindowTiming{std::chrono::seconds(60)});
        app->enterCount(carbon, QStringLiteral("2"));
        app->clickCell(carbon, data::CountRow);
        app->dialogEdit()->setText(QStringLiteral("20000"));
        int ticks = 0;
        bool progressSeen = false;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            ++ticks;
            progressSeen = progressSeen || app->window->findChild<QProgressDialog*>() != nullptr;
        });
        ticker.start(5);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(app->window->countDialog().findChild<QPushButton*>("OK1"),
                          Qt::LeftButton);
        const qint64 took = clock.elapsed();
        QCOMPARE(app->text("Formula"), QStringLiteral("C20000"));
        QVERIFY(!progressSeen);
        // the window answers while it works: a run long enough to see it let the timer in
        // (a busy machine may slow the ticks, never stop them)
        if (took >= 1000) {
            QVERIFY2(ticks >= 1,
                     qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(took)));
        }
    }

    void missingElementFileIsReportedAndTheLoadIsTriedAgain() {
        const QString elemPath = app->directory.filePath(QStringLiteral("elem.txt"));
        const QByteArray elem = readAll(elemPath);
        QFile::remove(elemPath);
        app->clickCell(5, data::CountRow);
        const std::vector<std::string> notices{
            "elem.txt involving element names and their atomic weights doest not exit!",
            "The numbers of atoms defined in elems.txt and abundance2.txt are not equal!!  They "
            "should be consistent to each other!!"};
        QCOMPARE(app->dialogs.notices, notices);
        QVERIFY(!app->window->tablesLoaded());
        QVERIFY(app->window->countDialog().isVisible());
        QCOMPARE(app->dialogEdit()->text(), QString());

        // The designed grid's first empty count stops the calculation.
        app->dialogEdit()->setText(QStringLiteral("1"));
        QTest::keyClick(app->dialogEdit(), Qt::Key_Enter);
        QCOMPARE(app->dialogs.errors, std::vector<std::string>{"'' は浮動小数点数ではありません"});
        QVERIFY(app->window->countDialog().isVisible());
        app->window->countDialog().hide();

        // A typed formula says that there is no element data, not that C is unknown.
        app->dialogs.errors.clear();
        QVERIFY_THROWS_EXCEPTION(text::Error, app->session->enterFormula("C6H12O6"));
        QCOMPARE(app->session->previewFormula("C6H12O6").message,
                 "no element data loaded (elem.txt not found in " +
                     QFile::encodeName(app->directory.path()).toStdString() + ")");

        // Every click tries the load again; once the file is back, the table is there.
        app->clickCell(7, data::CountRow);
        QCOMPARE(app->dialogs.notices.size(), 2 * notices.size());
        QFile restored(elemPath);
        QVERIFY(restored.open(QIODevice::WriteOnly));
        restored.write(elem);
        restored.close();
        app->window->countDialog().hide();
        app->clickCell(carbon, data::CountRow);
        QCOMPARE(app->dialogs.notices.size(), 2 * notices.size());
        QVERIFY(app->window->tablesLoaded());
        app->dialogEdit()->setText(QStringLiteral("6"));
        QTest::keyClick(app->dialogEdit(), Qt::Key_Enter);
        QCOMPARE(app->text("Formula"), QStringLiteral("C6"));
    }

    void theDataFilesAreFoundInTheFirstFolderHoldingThem() {
        // Started in a folder without data files: the next folder holding them is used,
        // and the isotope window's title names it.
        QTemporaryDir empty;
        const std::string dataFolder = QFile::encodeName(app->directory.path()).toStdString();
        app->session->searchDataFolders(
            {QFile::encodeName(empty.path()).toStdString(), dataFolder});
        app->enterCount(carbon, QStringLiteral("6"));
        QVERIFY(app->dialogs.notices.empty());
        QCOMPARE(app->text("Formula"), QStringLiteral("C6"));
        QCOMPARE(app->session->dataDirectory(), dataFolder);
        QVERIFY2(app->window->isotopeWindow().windowTitle().endsWith(
                     QStringLiteral(" - data files from ") + app->directory.path()),
                 qPrintable(app->window->isotopeWindow().windowTitle()));
    }

    void theSticksOfALargeProteinStandInsideTheFrame() {
        // Albumin's sticks stand 41 u left of its index span: without the frame following
        // them, a third of the envelope fell outside the picture (titin's all of it).
        app->clickCell(carbon, data::CountRow);
        app->window->countDialog().hide();
        app->session->enterFormula("C2934H4615N781O897S39");
        const session::SessionState& state = app->session->state();
        QVERIFY(state.plotState.frameShift != 0);
        const calc::PatternState& pattern = state.pattern;
        const double offset = state.composition.formulaWeight - pattern.centroid;
        long long tallest = pattern.n0;
        for (long long i = state.plotState.spanFirst; i <= state.plotState.spanLast; ++i) {
            if (pattern.at(i) > pattern.at(tallest)) {
                tallest = i;
            }
            if (pattern.at(i) > 0.001) {
                QVERIFY(offset + static_cast<double>(i) >= state.plotState.xmin);
                QVERIFY(offset + static_cast<double>(i) <= state.plotState.xmax);
            }
        }
        // the tallest stick is drawn inside the frame, from the baseline up
        const long long column = plot::px(
            state.plotState, static_cast<long double>(offset + static_cast<double>(tallest)));
        QVERIFY(column > 40 && column < 771);
        QCOMPARE(app->canvas.image().pixel(static_cast<int>(column), 400), qRgb(0, 0, 0));
    }

    void saveDialogsStartOutsideTheDataFolderAndRefuseADataFile() {
        app->enterCount(carbon, QStringLiteral("8"));
        app->enterCount(hydrogen, QStringLiteral("10"));
        const QString elemPath = app->directory.filePath(QStringLiteral("elem.txt"));
        const QByteArray elem = readAll(elemPath);
        const QString home = QDir::homePath();
        struct Case {
            const char* name;
            QString chosen;
        };
        const Case cases[] = {
            {"elem.txt", elemPath},
            {"another spelling", app->directory.path() + QStringLiteral("/./abundances.txt")},
        };
        for (const Case& c : cases) {
            app->dialogs.errors.clear();
            app->dialogs.offeredNames.clear();
            app->dialogs.chosenName = c.chosen;
            app->run("SaveNormal");
            // never the data folder, even after a choice made there
            QCOMPARE(app->dialogs.offeredNames,
                     QStringList{QDir(home).filePath(QStringLiteral("C8H10.txt"))});
            QCOMPARE(app->dialogs.errors.size(), std::size_t{1});
            QVERIFY2(app->dialogs.errors.front().find("it is not overwritten") != std::string::npos,
                     app->dialogs.errors.front().c_str());
            QVERIFY(app->dialogs.questions.empty()); // refused before the overwrite notice
        }
        QCOMPARE(readAll(elemPath), elem);

        app->dialogs.errors.clear();
        app->dialogs.chosenPicture = PictureChoice{elemPath, qtcanvas::PictureFormat::Png, 1};
        app->run("SavePicture");
        QCOMPARE(app->dialogs.errors.size(), std::size_t{1});
        QCOMPARE(readAll(elemPath), elem);
        QCOMPARE(app->dialogs.offeredPictures.front().name,
                 QDir(home).filePath(QStringLiteral("C8H10.png")));
    }

    void exitClosesEveryWindow() {
        app->clickCell(carbon, data::CountRow);
        app->run("ShowIsotopes1");
        QVERIFY(app->window->countDialog().isVisible());
        QVERIFY(app->window->isotopeWindow().isVisible());
        app->run("Exit1");
        QVERIFY(!app->window->isVisible());
        QVERIFY(!app->window->countDialog().isVisible());
        QVERIFY(!app->window->isotopeWindow().isVisible());
        QVERIFY(app->dialogs.questions.empty());
    }

    void saveNormalAndSpecialWriteTheLayouts() {
        app->enterCount(carbon, QStringLiteral("6"));
        const QString normal = app->saves.filePath(QStringLiteral("pattern.txt"));
        app->dialogs.chosenName = normal;
        app->run("SaveNormal");
        QVERIFY(app->dialogs.errors.empty());
        QVERIFY(app->dialogs.questions.empty());

        const QByteArray written = readAll(normal);
        const int s = app->session->state().plotState.s;
        QVERIFY(s > 0);
        QCOMPARE(written.count("\r\n"), 2 * s + 1);
        QCOMPARE(written.count('\n'), 2 * s + 1);
        QVERIFY(written.endsWith("\r\n"));
        QCOMPARE(written.toStdString(),
                 exporting::normalLayout(
                     app->session->state().pattern, app->session->state().composition.formulaWeight,
                     app->session->state().pattern.n0 - s, app->session->state().pattern.n0 + s));

        // The first save offers the formula's name in the home folder, the second the name
        // chosen for the same formula; writing over it asks first.
        app->run("SaveSpecial");
        QCOMPARE(app->dialogs.offeredNames,
                 (QStringList{QDir(QDir::homePath()).filePath(QStringLiteral("C6.txt")), normal}));
        QCOMPARE(app->dialogs.questions, std::vector<std::string>{"The file already exists!!!!"});
        QCOMPARE(readAll(normal).toStdString(),
                 exporting::specialLayout(
                     app->session->state().pattern, app->session->state().composition.formulaWeight,
                     app->session->state().pattern.n0 - s, app->session->state().pattern.n0 + s));
    }

    void saveWithoutAPatternSaysSoAndCancelWritesNothing() {
        app->dialogs.chosenName = app->directory.filePath(QStringLiteral("none.txt"));
        app->run("SaveNormal");
        QVERIFY(app->dialogs.offeredNames.isEmpty());
        QVERIFY(!QFile::exists(app->dialogs.chosenName));
        QCOMPARE(app->dialogs.errors,
                 std::vector<std::string>{
                     "No isotope pattern has been calculated yet: enter a formula first."});

        app->enterCount(carbon, QStringLiteral("1"));
        app->dialogs.chosenName.clear();
        app->run("SaveNormal");
        QCOMPARE(app->dialogs.offeredNames.size(), 1);
        QCOMPARE(QDir(app->directory.path()).entryList(QDir::Files).size(), 3); // the data files
    }

    void copyGraphicsPutsThePictureOnTheClipboard() {
        app->enterCount(carbon, QStringLiteral("6"));
        app->run("CopyGraphics");
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(782, 553));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), app->canvas.image());
    }

    void applyTakesTheTypedBounds() {
        app->enterCount(carbon, QStringLiteral("6"));
        QLineEdit* left = app->control<QLineEdit>("Edit1");
        QLineEdit* right = app->control<QLineEdit>("Edit2");
        left->clear();
        QTest::keyClicks(left, QStringLiteral("70.0"));
        right->clear();
        QTest::keyClicks(right, QStringLiteral("75"));
        // A threshold change redraws without touching what was typed.
        QTest::keyClick(app->control<SpinBox>("SpinEdit2")->lineEdit(), Qt::Key_Up);
        QCOMPARE(left->text(), QStringLiteral("70.0"));
        QCOMPARE(app->text("Edit7"), QStringLiteral("0.2"));

        QTest::mouseClick(app->control<QPushButton>("Button2"), Qt::LeftButton);
        QVERIFY(app->dialogs.errors.empty());
        QCOMPARE(left->text(), QStringLiteral("70"));
        QCOMPARE(app->session->state().plotState.xmin, 70.0);
        QCOMPARE(app->session->state().plotState.xmax, 75.0);
        QVERIFY(!app->control<QCheckBox>("CheckBox2")->isChecked());

        // Equal bounds: the error box, and the typed texts stay.
        right->setText(QStringLiteral("70"));
        QTest::mouseClick(app->control<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(app->dialogs.errors, std::vector<std::string>{"0 による浮動小数点数除算"});
    }

    void initializationAfterACalculationResetsEveryCount() {
        app->enterCount(carbon, QStringLiteral("6"));
        app->enterCount(oxygen, QStringLiteral("1"));
        QCOMPARE(app->text("Formula"), QStringLiteral("C6O1"));
        app->run("Initialization1");
        QVERIFY(app->dialogs.errors.empty());
        for (int column = 1; column < app->elements().columnCount(); ++column) {
            QCOMPARE(app->elements().cell(column, data::CountRow), std::string("0"));
            QCOMPARE(app->elements().cell(column, data::PercentRow), std::string("0"));
        }
        QCOMPARE(app->text("Formula"), QString());
        QCOMPARE(app->text("Weight"), QStringLiteral("0"));
        QCOMPARE(app->control<QTableView>("StringGrid2")->model()->rowCount(), 0);
    }

    void everyModelKeepsItsInvariants() {
        std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
        const auto watch = [&testers](QAbstractItemView* view) {
            testers.push_back(std::make_unique<QAbstractItemModelTester>(
                view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest));
        };
        watch(app->grid());
        watch(app->control<QTableView>("StringGrid2"));
        watch(app->control<QTableView>("StringGrid3"));
        watch(app->window->isotopeWindow().findChild<QTableView*>("StringGrid1"));

        app->enterCount(carbon, QStringLiteral("2"));
        app->enterCount(oxygen, QStringLiteral("3"));
        app->run("Initialization1");
        QCOMPARE(app->window->isotopeWindow()
                     .findChild<QTableView*>("StringGrid1")
                     ->model()
                     ->headerData(0, Qt::Horizontal)
                     .toString(),
                 QStringLiteral("Width"));
    }

    // A save that can only rewrite a file in place, its folder taking no new files, is
    // asked for once per file: a No is asked again, a Yes is remembered.
    void aRewriteInPlaceIsAskedForOncePerFile() {
        app->dialogs.confirmAnswer = false;
        QVERIFY(!app->window->allowRewriteInPlace("/data/pattern.txt"));
        app->dialogs.confirmAnswer = true;
        QVERIFY(app->window->allowRewriteInPlace("/data/pattern.txt"));
        QVERIFY(app->window->allowRewriteInPlace("/data/pattern.txt"));
        QCOMPARE(app->dialogs.questions.size(), std::size_t(2));
        QVERIFY(app->dialogs.questions[0].starts_with("/data/pattern.txt\n"));
        QVERIFY(app->dialogs.questions[0].find("old contents are lost") != std::string::npos);
        // every save asks the window
        const exporting::InPlaceConsent installed = exporting::setInPlaceConsent({});
        QVERIFY(installed && installed("/data/other.txt"));
        exporting::setInPlaceConsent(installed);
        QCOMPARE(app->dialogs.questions.size(), std::size_t(3));
    }
};

static RegisterTest registration("MainWindowTest",
                                 [] { return std::make_unique<MainWindowTest>(); });

} // namespace orvane::app::testing

#include "main_window_test.moc"
