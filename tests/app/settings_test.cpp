#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "app/remembered_settings.h"
#include "test_application.h"
#include "test_registry.h"

namespace orvane::app::testing {

// Settings kept from one run to the next, in a settings file of the test's own.
class SettingsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("orvane.ini")); }

private slots:
    void settingsSurviveARestart() {
        QTemporaryDir saves;
        {
            TestApplication first;
            first.session->restoreFormulaHistory({});
            first.clickCell(shippedColumn(QStringLiteral("C")), data::CountRow);
            first.window->countDialog().hide();
            first.session->enterFormula("C6H12O6");
            first.session->enterFormula("H2O");
            first.session->setIonText("[M+Na]+");
            first.session->setResolvingPowerText("30000");
            first.session->setCoverageText("0.999");
            first.session->setToleranceText("3");
            first.window->setDialogFolders({saves.path(), saves.path(), saves.path()});
            SettingsStore(path()).write(currentSettings(*first.window, *first.session));
        }
        TestApplication second;
        QString problem;
        applySettings(SettingsStore(path()).read(&problem), *second.window, *second.session);
        QVERIFY(problem.isEmpty());
        const session::SessionState& state = second.session->state();
        QCOMPARE(state.formulaHistory, (std::vector<std::string>{"H2O", "C6H12O6"}));
        QCOMPARE(state.ionText, std::string("[M+Na]+"));
        QCOMPARE(state.profileBoxes.resolvingPowerText, std::string("30000"));
        QCOMPARE(state.profileBoxes.coverageText, std::string("0.999"));
        QCOMPARE(state.profileBoxes.toleranceText, std::string("3"));
        QCOMPARE(second.window->dialogFolders().patterns, saves.path());
        QCOMPARE(second.window->dialogFolders().spectra, saves.path());
        // the save dialog starts in the remembered folder
        second.enterCount(shippedColumn(QStringLiteral("C")), QStringLiteral("2"));
        second.run("SaveNormal");
        QCOMPARE(second.dialogs.offeredNames.value(0),
                 QDir(saves.path()).filePath(QStringLiteral("C2.txt")));
    }

    void aDamagedFileIsIgnoredWithANotice() {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[formula\nhistory=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1b\nbroken");
        file.close();
        QString problem;
        const RememberedSettings read = SettingsStore(path()).read(&problem);
        QVERIFY2(problem.contains(path()), qPrintable(problem));
        QVERIFY(read.formulas.isEmpty());
        // and the next run writes a good one over it
        TestApplication app;
        applySettings(read, *app.window, *app.session);
        SettingsStore(path()).write(currentSettings(*app.window, *app.session));
        problem.clear();
        SettingsStore(path()).read(&problem);
        QVERIFY(problem.isEmpty());
    }

    void theHistoryKeepsFiftyFormulas() {
        TestApplication app;
        std::vector<std::string> many;
        for (int i = 1; i <= 60; ++i) {
            many.push_back("C" + std::to_string(i));
        }
        app.session->restoreFormulaHistory(many);
        QCOMPARE(app.session->state().formulaHistory.size(), std::size_t{50});
        QCOMPARE(app.session->state().formulaHistory.front(), std::string("C1"));
    }
};

static RegisterTest registration("SettingsTest", [] { return std::make_unique<SettingsTest>(); });

} // namespace orvane::app::testing

#include "settings_test.moc"
