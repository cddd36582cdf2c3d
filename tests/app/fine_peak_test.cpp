#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/fine_peak_model.h"
#include "app/fine_peak_table.h"
#include "app/formula_dialog.h"
#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "app/profile_plot_view.h"
#include "profile/profile.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

namespace {

// [M+H]+ of caffeine, C8H11N4O2+, with the isotopes of the data files rounded
std::shared_ptr<const profile::Profile> caffeineProfile(double resolvingPower) {
    const std::vector<profile::Isotope> carbon{{12, 12.0, 98.93}, {13, 13.00335484, 1.07}};
    const std::vector<profile::Isotope> hydrogen{{1, 1.007825032, 99.9885},
                                                 {2, 2.014101778, 0.0115}};
    const std::vector<profile::Isotope> nitrogen{{14, 14.003074, 99.632}, {15, 15.0001089, 0.368}};
    const std::vector<profile::Isotope> oxygen{
        {16, 15.99491462, 99.757}, {17, 16.9991317, 0.038}, {18, 17.999161, 0.205}};
    const profile::ProfileInput input{
        {{"C", 8, carbon}, {"H", 11, hydrogen}, {"N", 4, nitrogen}, {"O", 2, oxygen}}, 1, {}};
    profile::ProfileSettings settings;
    settings.resolvingPower = resolvingPower;
    settings.compositionLimit = FinePeakModel::compositionLimit;
    return std::make_shared<const profile::Profile>(profile::computeProfile(input, settings));
}

QStringList column(const QAbstractItemModel& model, int col) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row) {
        cells.append(model.index(row, col).data().toString());
    }
    return cells;
}

} // namespace

// The fine peaks of the high-resolution window: listed with their isotopes when the
// resolving power separates them, for the plot's m/z range.
class FinePeakTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestApplication> app;

    HighResolutionWindow& window() const { return app->window->highResolutionWindow(); }
    void setResolvingPower(const char* text) const {
        auto* box = window().findChild<QLineEdit*>(QStringLiteral("ResolvingPower"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Return);
        window().plot().setFocus(); // the box shows the session's text again
        QTRY_VERIFY_WITH_TIMEOUT(!window().computing(), 10000);
    }

private slots:
    void init() { app = std::make_unique<TestApplication>(); }
    void cleanup() { app.reset(); }

    void nothingIsListedWithoutSeparatedFinePeaks() {
        FinePeakModel model('.');
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0);
        model.show(nullptr, 1, 0, 1000);
        QVERIFY(!model.listing());
        QCOMPARE(model.rowCount(), 0);
        model.show(caffeineProfile(1000), 1, 0, 1000); // one peak per nominal mass
        QVERIFY(!model.listing());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.index(0, 0).data(), QVariant());
    }

    void theZoomedRangeListsItsFinePeaksWithTheirIsotopes() {
        FinePeakModel model('.');
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto profile = caffeineProfile(100'000);
        model.show(profile, 1, 0, 1000);
        QVERIFY(model.listing());
        QCOMPARE(model.rowCount(), static_cast<int>(profile->sticks.size()));
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Isotopes"));
        // the monoisotopic ion first, by m/z
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("195.08765"));
        QCOMPARE(model.index(0, 2).data().toString(), QString());

        model.show(profile, 1, 196.0, 196.2); // the peaks of nominal mass 196
        const QStringList isotopes = column(model, 2);
        QVERIFY2(isotopes.contains(QStringLiteral("13C1")), qPrintable(isotopes.join(u'|')));
        QVERIFY(isotopes.contains(QStringLiteral("15N1")));
        QVERIFY(isotopes.contains(QStringLiteral("2H1")));
        QVERIFY(!isotopes.contains(QString()));
        QVERIFY(!isotopes.contains(QStringLiteral("13C2")));
        for (const QString& mz : column(model, 0)) {
            QVERIFY(mz.toDouble() >= 196.0 && mz.toDouble() <= 196.2);
        }
        // eight carbons: 8 x 1.07 / 98.93 of the monoisotopic peak, the tallest
        const int c13 = static_cast<int>(isotopes.indexOf(QStringLiteral("13C1")));
        QCOMPARE(model.index(c13, 1).data().toString(), QStringLiteral("8.6526"));
    }

    void theWindowListsTheFinePeaksOfItsZoomedRange() {
        app->enterFormulaAndShowHighResolution(QStringLiteral("C6H12O6"));
        auto* table = window().findChild<FinePeakTable*>(QStringLiteral("FinePeaks"));
        QVERIFY(table != nullptr);
        QAbstractItemModelTester tester(table->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);

        setResolvingPower("1000");
        QVERIFY(!table->isVisible());

        setResolvingPower("200000");
        QVERIFY(table->isVisible());
        const int whole = table->peaks().rowCount();
        // [M+H]+ 181.0706646; one 13C more, 1.0033548, lies at 182.0740194
        plot::ViewRange view = window().plot().view();
        view.mzLow = 182.0;
        view.mzHigh = 182.2;
        window().plot().setView(view);
        const QStringList isotopes = column(table->peaks(), 2);
        QVERIFY(table->peaks().rowCount() < whole);
        QVERIFY2(isotopes.contains(QStringLiteral("13C1")), qPrintable(isotopes.join(u'|')));
        QVERIFY(isotopes.contains(QStringLiteral("17O1")));
        const int c13 = static_cast<int>(isotopes.indexOf(QStringLiteral("13C1")));
        QCOMPARE(table->peaks().index(c13, 0).data().toString(), QStringLiteral("182.07402"));

        window().plot().showWholePattern();
        QCOMPARE(table->peaks().rowCount(), whole);
        setResolvingPower("1000");
        QVERIFY(!table->isVisible());
    }
};

static RegisterTest registration("FinePeakTest", [] { return std::make_unique<FinePeakTest>(); });

} // namespace orvane::app::testing

#include "fine_peak_test.moc"
