#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <memory>
#include <string>

#include "app/correct_isotopologues_window.h"
#include "app/fraction_bar_chart.h"
#include "app/main_window.h"
#include "support/temp_directory.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// "Correct isotopologues…": opened from the Option menu, a measurements file corrected
// with the session's tables, the table and the chart shown, the table saved.
class CorrectIsotopologuesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;
    std::unique_ptr<testing_support::TempDirectory> files;

    CorrectIsotopologuesWindow& opened() const {
        app->run("CorrectIsotopologues1");
        return *app->window->correctIsotopologuesWindow();
    }
    static QString cell(const CorrectIsotopologuesWindow& window, int row, int column) {
        const QAbstractItemModel* model = window.table()->model();
        return model->data(model->index(row, column)).toString();
    }

private slots:
    void init() {
        app = std::make_unique<TestApplication>();
        files = std::make_unique<testing_support::TempDirectory>();
        // IsoCor's fumarate in two samples
        files->write("measurements.tsv",
                     "sample\tmetabolite\tderivative\tisotopologue\tarea\tresolution\n"
                     "S1\tFum\t\t0\t376000\t70000\n"
                     "S1\tFum\t\t1\t235000\t70000\n"
                     "S1\tFum\t\t2\t127000\t70000\n"
                     "S1\tFum\t\t3\t143000\t70000\n"
                     "S1\tFum\t\t4\t40000\t70000\n"
                     "S2\tFum\t\t0\t1000\t70000\n");
        files->write("metabolites.tsv", "name\tformula\tcharge\nFum\tC4H3O4\t-1\n");
    }
    void cleanup() {
        app.reset();
        files.reset();
    }

    void theMenuEntryOpensTheWindowAndItCorrectsAFile() {
        CorrectIsotopologuesWindow& window = opened();
        QVERIFY(window.isVisible());
        QCOMPARE(window.tracerBox()->currentText(), QStringLiteral("13C"));
        window.metabolitesBox()->setText(QString::fromStdString(files->file("metabolites.tsv")));
        window.purityBox()->setText(QStringLiteral("0.01,0.99"));
        QVERIFY(window.openMeasurements(QString::fromStdString(files->file("measurements.tsv"))));
        QAbstractItemModelTester tester(window.table()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(window.table()->model()->rowCount(), 10); // S2's missing ones count as 0
        QCOMPARE(window.table()->model()->headerData(5, Qt::Horizontal).toString(),
                 QStringLiteral("corrected_area"));
        // IsoCor: 394197.8038 at low resolution
        QVERIFY2(cell(window, 0, 5).startsWith(QStringLiteral("394197.80")),
                 qPrintable(cell(window, 0, 5)));
        QCOMPARE(window.chart()->bars().size(), std::size_t{2});
        QCOMPARE(window.chart()->bars()[0].fractions.size(), std::size_t{5});
        // at Orbitrap 70000 at m/z 400 IsoCor gives 394196.7605
        window.resolutionBox()->setText(QStringLiteral("70000"));
        QVERIFY(window.correctNow());
        QVERIFY2(cell(window, 0, 5).startsWith(QStringLiteral("394196.76")),
                 qPrintable(cell(window, 0, 5)));
        // AccuCor's Normalized sheet: one line per isotopologue, one column per sample
        window.sheetBox()->setCurrentIndex(2);
        QCOMPARE(window.table()->model()->rowCount(), 5);
        QCOMPARE(window.table()->model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("S2"));
        QCOMPARE(cell(window, 0, 4), QStringLiteral("1"));
        QVERIFY(app->dialogs.errors.empty());
    }

    void aBadFileIsRefusedWithItsLineAndColumn() {
        CorrectIsotopologuesWindow& window = opened();
        window.metabolitesBox()->setText(QString::fromStdString(files->file("metabolites.tsv")));
        const std::string bad = files->write(
            "bad.tsv", "sample\tmetabolite\tderivative\tisotopologue\tarea\nS1\tFum\t\t7\t1\n");
        QVERIFY(!window.openMeasurements(QString::fromStdString(bad)));
        QCOMPARE(app->dialogs.errors.size(), std::size_t{1});
        const std::string expected =
            bad + ", line 2, column 4 (isotopologue): the isotopologue M+7 of 13C cannot be: "
                  "C4H3O4 holds 4 C that can be labelled";
        QCOMPARE(app->dialogs.errors.front(), expected);
        QCOMPARE(window.statusLine()->text(), QString::fromStdString(expected));
        QCOMPARE(window.table()->model()->rowCount(), 0);
    }

    void anIsotopeTableReplacesTheDataFilesIsotopes() {
        CorrectIsotopologuesWindow& window = opened();
        window.metabolitesBox()->setText(QString::fromStdString(files->file("metabolites.tsv")));
        window.purityBox()->setText(QStringLiteral("0.01,0.99"));
        // IsoCor's layout with 1.1 % of 13C, where the data files have 1.07 %
        const std::string table = files->write(
            "isotopes.dat", "element,mass,abundance\nH,1.0078250322,0.999885\n"
                            "H,2.0141017781,0.000115\nC,12.0,0.989\nC,13.003354835,0.011\n"
                            "O,15.99491462,0.99757\nO,16.999131757,0.00038\n"
                            "O,17.999159613,0.00205\n");
        window.isotopeTableBox()->setText(QString::fromStdString(table));
        QVERIFY(window.openMeasurements(QString::fromStdString(files->file("measurements.tsv"))));
        // IsoCor 2.2.3 given the same table: 394681.2101 (394197.8038 with the data files')
        QVERIFY2(cell(window, 0, 5).startsWith(QStringLiteral("394681.21")),
                 qPrintable(cell(window, 0, 5)));

        files->write("isotopes.dat", "element,mass,abundance\nC,12,0.98\n");
        QVERIFY(!window.correctNow());
        QCOMPARE(app->dialogs.errors.size(), std::size_t{1});
        QCOMPARE(app->dialogs.errors.front(),
                 table + ", line 2, column 3 (abundance): the abundances of C add up to 0.98, "
                         "not 1");
        QCOMPARE(window.table()->model()->rowCount(), 0);
    }

    void savingAsksBeforeReplacingAFile() {
        CorrectIsotopologuesWindow& window = opened();
        window.metabolitesBox()->setText(QString::fromStdString(files->file("metabolites.tsv")));
        QVERIFY(window.openMeasurements(QString::fromStdString(files->file("measurements.tsv"))));
        const std::string existing = files->write("out.tsv", "keep me\n");
        app->dialogs.confirmAnswer = false;
        QVERIFY(!window.saveTo(QString::fromStdString(existing)));
        QCOMPARE(files->read("out.tsv"), std::string("keep me\n"));
        QCOMPARE(app->dialogs.questions.size(), std::size_t{1});
        app->dialogs.confirmAnswer = true;
        QVERIFY(window.saveTo(QString::fromStdString(existing)));
        QVERIFY(files->read("out.tsv").rfind("sample\tmetabolite\tderivative\tisotopologue", 0) ==
                0);
        // a new .csv file is written without a question, comma-separated
        QVERIFY(window.saveTo(QString::fromStdString(files->file("out.csv"))));
        QCOMPARE(app->dialogs.questions.size(), std::size_t{2});
        QVERIFY(files->read("out.csv").rfind("sample,metabolite,derivative", 0) == 0);
    }
};

static RegisterTest registration("CorrectIsotopologuesTest",
                                 [] { return std::make_unique<CorrectIsotopologuesTest>(); });

} // namespace orvane::app::testing

#include "correct_isotopologues_test.moc"
