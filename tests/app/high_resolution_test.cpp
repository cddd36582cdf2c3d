#include <QFont>
#include <QDir>
#include <QStatusBar>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>
#include <string>

#include "app/formula_dialog.h"
#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "app/profile_plot_view.h"
#include "app/spin_box.h"
#include "measured/measured_test_support.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// The high-resolution window: F12, the ion box, the cluster table, the profile computed
// away from the window, and a measured spectrum opened through the chooser.
class HighResolutionTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;

    HighResolutionWindow& window() const { return app->window->highResolutionWindow(); }
    QString label(const char* name) const {
        return window().findChild<QLabel*>(QLatin1String(name))->text();
    }
    QString cell(int row, int column) const {
        return window().clusters().index(row, column).data().toString();
    }
    void enterGlucoseAndOpen() const {
        app->enterFormulaAndShowHighResolution(QStringLiteral("C6H12O6"));
    }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void impureLabelsShowTheLightestPeakBesideTheMonoisotopic() {
        app->enterFormulaAndShowHighResolution(QStringLiteral("[13C]6{99%}H12O6"));
        // [M+H]+ with six 13C, and with six 12C the lightest, six steps lower
        QCOMPARE(label("MonoisotopicMz"), QStringLiteral("187.09079  (lightest 181.07066)"));
    }

    void f12ShowsTheIonAndFollowsTheIonBox() {
        enterGlucoseAndOpen();
        QCOMPARE(label("MonoisotopicMass"), QStringLiteral("180.06339"));
        QCOMPARE(label("MonoisotopicMz"), QStringLiteral("181.07066")); // [M+H]+
        QCOMPARE(cell(0, 0), QStringLiteral("181"));
        QCOMPARE(cell(0, 3), QStringLiteral("100.000"));

        auto* ion = window().findChild<QComboBox*>(QStringLiteral("IonBox"));
        ion->lineEdit()->selectAll();
        QTest::keyClicks(ion->lineEdit(), QStringLiteral("[2M+Na]+"));
        QTest::keyClick(ion->lineEdit(), Qt::Key_Return);
        QCOMPARE(label("MonoisotopicMz"), QStringLiteral("383.11600"));
        QCOMPARE(cell(0, 2), QStringLiteral("383.11600"));
        QCOMPARE(app->session->state().ionText, std::string("[2M+Na]+"));

        // A preset follows the charge: [M+zH]z+ at charge 2.
        ion->setCurrentIndex(0);
        emit ion->activated(0);
        QTest::keyClick(app->control<SpinBox>("SpinEdit1")->lineEdit(), Qt::Key_Up);
        QCOMPARE(ion->currentText(), QStringLiteral("[M+2H]2+"));
        QCOMPARE(label("MonoisotopicMz"), QStringLiteral("91.03897"));

        // The profile comes from away from the window, for the settings in the boxes.
        QTRY_VERIFY_WITH_TIMEOUT(!window().computing(), 10000);
        QVERIFY(!window().plot().content().profile.empty());
        QGuiApplication::clipboard()->clear();
        window().copyTable();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(
            QStringLiteral("Nominal mass\tAccurate mass\tm/z\tIntensity %\n182\t")));
    }

    void copyingTakesTheSelectionOfTheWidgetWithTheFocus() {
        enterGlucoseAndOpen();
        // a summary value: Ctrl+C copies it, and so does its context menu's "Copy value"
        auto* mass = window().findChild<QLabel*>(QStringLiteral("MonoisotopicMass"));
        QGuiApplication::clipboard()->clear();
        QVERIFY(app->activate(window()));
        mass->setFocus();
        QTest::keySequence(mass, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("180.06339"));
        auto* copyValue = mass->findChild<QAction*>(QStringLiteral("CopyValue"));
        QVERIFY(copyValue != nullptr && mass->actions().contains(copyValue));

        // rows 1 and 2 of the table selected: those rows under the header
        auto* table = window().findChild<QTableView*>(QStringLiteral("Clusters"));
        table->setFocus();
        table->selectionModel()->select(window().clusters().index(1, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table->selectionModel()->select(window().clusters().index(2, 1),
                                        QItemSelectionModel::Select);
        QTest::keySequence(table, QKeySequence::Copy);
        QStringList lines =
            QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("Nominal mass\t")));
        QVERIFY(lines[1].startsWith(cell(1, 0) + QLatin1Char('\t')));
        QVERIFY(lines[2].startsWith(cell(2, 0) + QLatin1Char('\t')));
        // nothing selected: the whole table
        table->clearSelection();
        window().copyTable();
        lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), window().clusters().rowCount() + 1);
    }

    void theTableAndTheProfileAreSavedBesideThePicture() {
        enterGlucoseAndOpen();
        QTRY_VERIFY_WITH_TIMEOUT(!window().computing(), 10000);
        const struct {
            const char* button;
            const char* name;
            const char* firstLine;
        } cases[] = {
            {"SaveTable", "clusters.csv", "Nominal mass,Accurate mass,m/z,Intensity %"},
            {"SaveTable", "clusters.tsv", "Nominal mass\tAccurate mass\tm/z\tIntensity %"},
            {"SaveProfile", "profile.tsv", "# [M+H]+ "},
        };
        for (const auto& c : cases) {
            const QString path = app->saves.filePath(QLatin1String(c.name));
            app->dialogs.chosenName = path;
            auto* button = window().findChild<QPushButton*>(QLatin1String(c.button));
            QVERIFY(button != nullptr && button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(app->dialogs.errors.empty());
            QVERIFY2(readAll(path).startsWith(c.firstLine), c.name);
        }
        // the profile file is the one orvane-calc writes: m/z TAB intensity after two comments
        const QList<QByteArray> lines =
            readAll(app->saves.filePath(QStringLiteral("profile.tsv"))).split('\n');
        QVERIFY(lines.size() > 10);
        QCOMPARE(lines[1], QByteArray("# m/z\tintensity"));
        QCOMPARE(lines[2].count('\t'), 1);
    }

    void theTwoSavesOfferTheirOwnNamesAndAskBeforeReplacingAFile() {
        enterGlucoseAndOpen();
        QTRY_VERIFY_WITH_TIMEOUT(!window().computing(), 10000);
        const auto click = [this](const char* button) {
            QTest::mouseClick(window().findChild<QPushButton*>(QLatin1String(button)),
                              Qt::LeftButton);
        };
        // a table saved first does not make the profile's dialog offer its file
        const QString table = app->saves.filePath(QStringLiteral("glucose.tsv"));
        app->dialogs.chosenName = table;
        click("SaveTable");
        app->dialogs.chosenName.clear(); // cancel: only what is offered counts
        click("SaveProfile");
        click("SaveTable");
        QCOMPARE(app->dialogs.offeredNames.size(), 3);
        QVERIFY2(app->dialogs.offeredNames[0].endsWith(QStringLiteral("/C6H12O6-clusters.tsv")),
                 qPrintable(app->dialogs.offeredNames[0]));
        QVERIFY2(app->dialogs.offeredNames[1].endsWith(QStringLiteral("/C6H12O6-profile.tsv")),
                 qPrintable(app->dialogs.offeredNames[1]));
        QCOMPARE(app->dialogs.offeredNames[2], table); // the table's last choice again
        QVERIFY(app->dialogs.questions.empty());       // a new file needs no question

        // the profile onto the table's file: asked, and a "no" keeps the table
        const QByteArray saved = readAll(table);
        app->dialogs.chosenName = table;
        app->dialogs.confirmAnswer = false;
        click("SaveProfile");
        QCOMPARE(app->dialogs.questions.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(app->dialogs.questions[0]),
                 QDir::toNativeSeparators(table) + QStringLiteral(" already exists. Replace it?"));
        QCOMPARE(readAll(table), saved);
        // "yes" replaces it
        app->dialogs.confirmAnswer = true;
        click("SaveProfile");
        QCOMPARE(app->dialogs.questions.size(), std::size_t{2});
        QVERIFY(readAll(table).startsWith("# [M+H]+ "));
        QVERIFY(app->dialogs.errors.empty());
        // the status line names the file saved
        QVERIFY2(window().statusBar()->currentMessage().startsWith(QStringLiteral("Saved ") +
                                                                   QDir::toNativeSeparators(table)),
                 qPrintable(window().statusBar()->currentMessage()));
    }

    void aLargeMoleculesTableOpensOnItsTallestCluster() {
        // C3000's clusters begin some thirty rows below its tallest, M+32
        app->enterFormulaAndShowHighResolution(QStringLiteral("C3000"));
        auto* table = window().findChild<QTableView*>(QStringLiteral("Clusters"));
        QVERIFY(window().clusters().rowCount() > 40);
        int tallest = -1;
        for (int row = 0; row < window().clusters().rowCount(); ++row) {
            if (window()
                    .clusters()
                    .data(window().clusters().index(row, 0), Qt::FontRole)
                    .isValid()) {
                tallest = row;
            }
        }
        QVERIFY(tallest > 20);
        QTRY_VERIFY(table->viewport()->rect().intersects(
            table->visualRect(window().clusters().index(tallest, 0))));
        // every column wide enough for its numbers: nothing cut to "…"
        const QString mass = window().clusters().index(tallest, 1).data().toString();
        QVERIFY(table->columnWidth(1) >= table->fontMetrics().horizontalAdvance(mass));
    }

    void anIonTheFormulaCannotGiveIsSaidInTheWindow() {
        enterGlucoseAndOpen();
        auto* ion = window().findChild<QComboBox*>(QStringLiteral("IonBox"));
        ion->lineEdit()->selectAll();
        QTest::keyClicks(ion->lineEdit(), QStringLiteral("[M-Cl]+"));
        QTest::keyClick(ion->lineEdit(), Qt::Key_Return);
        QVERIFY(window().findChild<QLabel*>(QStringLiteral("Problem"))->isVisible());
        QCOMPARE(window().clusters().rowCount(), 0);
        QCOMPARE(label("MonoisotopicMz"), QString());
        QVERIFY(app->dialogs.errors.empty());
    }

    void aFileGivenAtStartOpensWithoutTheDialogAndComesToTheFront() {
        // as `orvane FILE` from a file manager: no open dialog, the window shows the file
        const QString path = app->directory.filePath(QStringLiteral("peaks.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("180.0634\t100\n181.0667\t6.7\n");
        file.close();
        app->window->openSpectrumFile(path);
        QVERIFY(app->dialogs.errors.empty());
        QVERIFY(window().isVisible());
        QVERIFY(app->session->state().measured.has_value());
        QCOMPARE(app->session->state().measured->points.size(), std::size_t{2});
        // before any formula: the spectrum alone, its tallest peak at 100, and a request for a
        // formula instead of the reader's complaint about the ion box's "H"
        const plot::HighResolutionContent& shown = window().plot().content();
        QCOMPARE(shown.measured.size(), std::size_t{2});
        QCOMPARE(shown.measured[0].intensity, 100.0);
        QVERIFY(shown.measuredAsSticks);
        QVERIFY(shown.sticks.empty());
        QCOMPARE(window().findChild<QLabel*>(QStringLiteral("Problem"))->text(),
                 QStringLiteral("Enter a formula (F2) to set its ion beside the spectrum."));
        QVERIFY(window().plot().view().mzLow < 180.0634 &&
                window().plot().view().mzHigh > 181.0667);
    }

    void aMeasuredFileOpensThroughTheChooserAndGivesTheScore() {
        enterGlucoseAndOpen();
        // Two spectra: an MS2 one and an MS1 one that is the theory itself.
        const int clusters = window().clusters().rowCount();
        measured::testing::TestSpectrum theory;
        for (int row = 0; row < clusters; ++row) {
            theory.mz.push_back(cell(row, 2).toDouble());
            theory.intensity.push_back(cell(row, 3).toDouble() * 50);
        }
        theory.representation = "centroid";
        measured::testing::TestSpectrum fragments{{50, 60}, {10, 20}, 2, "centroid", -1};
        const QString path = app->directory.filePath(QStringLiteral("run.mzML"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(measured::testing::mzmlDocument(
            {fragments, theory}, measured::testing::MzmlIndex::Right)));
        file.close();

        app->dialogs.spectrumName = path;
        app->run("Open1");
        QVERIFY(app->dialogs.errors.empty());
        QCOMPARE(app->dialogs.chooserRows, 2);
        QCOMPARE(app->dialogs.offeredChoices, std::vector<std::size_t>{1}); // the MS1 one
        QVERIFY(label("Score").startsWith(QStringLiteral("1.0000")));
        QCOMPARE(window().clusters().columnCount(), 8); // measured m/z and ppm
        QCOMPARE(cell(0, 4), QStringLiteral("100.000"));
        QVERIFY(!cell(0, 6).isEmpty());
        // the most abundant row is bold
        QVERIFY(window()
                    .clusters()
                    .data(window().clusters().index(0, 0), Qt::FontRole)
                    .value<QFont>()
                    .bold());
        QVERIFY(!window().clusters().data(window().clusters().index(1, 0), Qt::FontRole).isValid());
        QVERIFY(!window().plot().content().measured.empty());
        // the window says what is overlaid, and can take it away
        auto* name = window().findChild<QLabel*>(QStringLiteral("MeasuredName"));
        QVERIFY(name->isVisible());
        QVERIFY2(name->text().contains(QStringLiteral("run.mzML, spectrum 1 (")),
                 qPrintable(name->text()));
        auto* close = window().findChild<QPushButton*>(QStringLiteral("CloseMeasured"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!app->session->state().measured.has_value());
        QVERIFY(window().plot().content().measured.empty());
        QVERIFY(!close->isVisible());
        app->dialogs.choice = 1;
        app->run("Open1");
        QVERIFY(app->session->state().measured.has_value());

        // The MS2 spectrum shares nothing with the theory.
        app->dialogs.choice = 0;
        app->run("Open1");
        QVERIFY(label("Score").startsWith(
            QStringLiteral("the measured spectrum has no peak between 180.5707 and ")));

        // A bad file is reported and changes nothing.
        QFile junk(app->directory.filePath(QStringLiteral("junk.mzML")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("<?xml version=\"1.0\"?>\n<mzML>\n<run>");
        junk.close();
        app->dialogs.spectrumName = junk.fileName();
        app->run("Open1");
        QCOMPARE(app->dialogs.errors.size(), std::size_t{1});
        QVERIFY(
            QString::fromStdString(app->dialogs.errors[0]).contains(QStringLiteral("junk.mzML")));
        QVERIFY(label("Score").startsWith(QStringLiteral("the measured spectrum has no peak")));
    }
};

static RegisterTest registration("HighResolutionTest",
                                 [] { return std::make_unique<HighResolutionTest>(); });

} // namespace orvane::app::testing

#include "high_resolution_test.moc"
