#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <memory>
#include <string>

#include "app/charge_ladder_table.h"
#include "app/formula_dialog.h"
#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "app/profile_plot_view.h"
#include "test_application.h"
#include "text/number_text.h"
#include "test_registry.h"

namespace orvane::app::testing {

// The charge states of the high-resolution window: the default range, the range box, the
// marks on a measured spectrum and the double-click that shows a rung's ion.
class ChargeLadderTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;

    HighResolutionWindow& window() const { return app->window->highResolutionWindow(); }
    ChargeLadderTable& table() const { return window().chargeStates(); }
    QString cell(int row, int column) const {
        return table().rungs().index(row, column).data().toString();
    }
    void typeRange(const QString& text) const {
        auto* range = table().findChild<QLineEdit*>(QStringLiteral("ChargeRange"));
        range->setFocus();
        range->selectAll();
        QTest::keyClicks(range, text);
        QTest::keyClick(range, Qt::Key_Return);
    }
    void enterUbiquitinAndOpen() const {
        app->enterFormulaAndShowHighResolution(QStringLiteral("C378H629N105O118S1"));
    }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void aRefusedRangeIsSaidUnderTheTable() {
        enterUbiquitinAndOpen();
        QAbstractItemModelTester tester(table().view().model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        typeRange(QStringLiteral("9-3"));
        QCOMPARE(table().rungs().rowCount(), 0);
        auto* problem = table().findChild<QLabel*>(QStringLiteral("ChargeStateProblem"));
        QVERIFY(problem->isVisible());
        QVERIFY2(problem->text().contains(QStringLiteral("run backwards")),
                 qPrintable(problem->text()));
        QVERIFY(app->dialogs.errors.empty());
        typeRange(QStringLiteral("5-7"));
        QVERIFY(!problem->isVisible());
        QCOMPARE(table().rungs().rowCount(), 3);
    }

    void anEmptyListSaysWhy() {
        // glucose's [M+H]+ lies below 300: no rung of the default range, and the reason
        app->enterFormulaAndShowHighResolution(QStringLiteral("C6H12O6"));
        QCOMPARE(table().rungs().rowCount(), 0);
        auto* problem = table().findChild<QLabel*>(QStringLiteral("ChargeStateProblem"));
        QVERIFY(problem->isVisible());
        QCOMPARE(problem->text(),
                 QStringLiteral("No charge state of [M+zH]z+ has its most abundant m/z between "
                                "300.0 and 3000.0; a range such as 1-5 lists them."));
        typeRange(QStringLiteral("1-2"));
        QCOMPARE(table().rungs().rowCount(), 2);
        QVERIFY(!problem->isVisible());
    }

    void theDefaultRangeAndTheRangeBox() {
        enterUbiquitinAndOpen();
        QAbstractItemModelTester tester(table().view().model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // most abundant m/z in 300-3000: 3+ to 28+
        QCOMPARE(table().rungs().rowCount(), 26);
        QCOMPARE(cell(0, 0), QStringLiteral("3+"));
        QCOMPARE(cell(25, 0), QStringLiteral("28+"));
        QCOMPARE(table().rungs().index(0, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("[M+3H]3+"));
        typeRange(QStringLiteral("5-7"));
        QCOMPARE(app->session->state().ladderRangeText, std::string("5-7"));
        QCOMPARE(table().rungs().rowCount(), 3);
        QCOMPARE(cell(0, 0), QStringLiteral("5+"));
        // the hand-worked monoisotopic m/z of [M+5H]5+
        QCOMPARE(cell(0, 1), QStringLiteral("1712.9306"));
    }

    void aDoubleClickShowsThatIon() {
        enterUbiquitinAndOpen();
        typeRange(QStringLiteral("5-7"));
        const QModelIndex sixth = table().rungs().index(1, 0);
        const QString mostAbundant = cell(1, 2);
        QTableView& view = table().view();
        const QPoint centre = view.visualRect(sixth).center();
        // the press that a double-click follows
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
        QVERIFY(app->dialogs.errors.empty());
        QCOMPARE(app->session->state().settings.charge.value(), 6);
        QCOMPARE(app->session->state().ionText, std::string("[M+zH]z+"));
        auto* ion = window().findChild<QComboBox*>(QStringLiteral("IonBox"));
        QCOMPARE(ion->currentText(), QStringLiteral("[M+6H]6+"));
        // the summary writes five decimals, the ladder four
        QVERIFY(window()
                    .findChild<QLabel*>(QStringLiteral("MostAbundantMz"))
                    ->text()
                    .startsWith(mostAbundant.left(mostAbundant.size() - 1)));
        // the ladder stays as it was
        QCOMPARE(table().rungs().rowCount(), 3);

        // a typed ion without "z": its adducts are repeated, and the box takes a "z"
        ion->lineEdit()->selectAll();
        QTest::keyClicks(ion->lineEdit(), QStringLiteral("[M+Na]+"));
        QTest::keyClick(ion->lineEdit(), Qt::Key_Return);
        QCOMPARE(table().rungs().index(2, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("[M+7Na]7+"));
        table().chooseRow(2);
        QCOMPARE(app->session->state().ionText, std::string("[M+zNa]z+"));
        QCOMPARE(app->session->state().settings.charge.value(), 7);
        QCOMPARE(ion->currentText(), QStringLiteral("[M+7Na]7+"));
    }

    void aMeasuredSpectrumIsMarkedWithTheCharges() {
        enterUbiquitinAndOpen();
        QVERIFY(window().plot().content().chargeMarks.empty());
        const QString path = app->directory.filePath(QStringLiteral("esi.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("700\t10\n950\t100\n1200\t5\n");
        file.close();
        app->dialogs.spectrumName = path;
        app->run("Open1");
        QVERIFY(app->dialogs.errors.empty());
        // the measured range, 700-1200, holds 8+ to 12+
        QCOMPARE(table().rungs().rowCount(), 5);
        const auto& marks = window().plot().content().chargeMarks;
        QCOMPARE(marks.size(), std::size_t{5});
        QCOMPARE(marks.front().label, std::string("8+"));
        QCOMPARE(QString::fromStdString(text::fixedText(marks.front().mz, 18, 4, '.')), cell(0, 2));
    }
};

static RegisterTest registration("ChargeLadderTest",
                                 [] { return std::make_unique<ChargeLadderTest>(); });

} // namespace orvane::app::testing

#include "charge_ladder_test.moc"
