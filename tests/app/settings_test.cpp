#include <QAction>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "app/remembered_settings.h"
#include "app/window_geometry.h"
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
            // one thread, chosen in the Option menu
            auto* twoThreads = first.window->findChild<QAction*>(QStringLiteral("TwoThreads1"));
            QVERIFY(twoThreads != nullptr && twoThreads->isCheckable());
            twoThreads->setChecked(true);
            QCOMPARE(first.session->engineThreads(), 2);
            twoThreads->setChecked(false);
            QCOMPARE(first.session->engineThreads(), 1);
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
        QCOMPARE(second.session->engineThreads(), 1);
        QVERIFY(!second.window->findChild<QAction*>(QStringLiteral("TwoThreads1"))->isChecked());
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

    // A pipe would hold the start until someone writes to it, and a link to a device would
    // be replaced by a file: neither is read nor written, and the run starts with defaults.
    void aPipeOrADeviceIsNeitherReadNorReplaced() {
        const QString fifo = folder.filePath(QStringLiteral("fifo.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString linked = folder.filePath(QStringLiteral("linked.ini"));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), linked));
        TestApplication app;
        for (const QString& settingsPath : {fifo, linked}) {
            QString problem;
            const RememberedSettings read = SettingsStore(settingsPath).read(&problem);
            QCOMPARE(problem, QStringLiteral("The settings file %1 is not a regular file; Orvane "
                                             "starts with its defaults and leaves it as it is.")
                                  .arg(settingsPath));
            QVERIFY(read.formulas.isEmpty());
            SettingsStore(settingsPath).write(currentSettings(*app.window, *app.session));
        }
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
        QCOMPARE(QFileInfo(linked).symLinkTarget(), QStringLiteral("/dev/null"));
    }

    // The frame is moved, then shrunk, as little as puts it on the screen.
    void aFrameIsClampedToTheScreen() {
        const QRect screen(0, 0, 1280, 800);
        const struct {
            QRect frame;
            QRect expected;
        } cases[] = {
            {{100, 100, 640, 480}, {100, 100, 640, 480}},
            {{-50, 700, 640, 480}, {0, 320, 640, 480}},
            {{1000, 10, 640, 480}, {640, 10, 640, 480}},
            {{10, 10, 4000, 3000}, {0, 0, 1280, 800}},
            {{0, 0, 2147483647, 2147483647}, {0, 0, 1280, 800}},
            {{-2147483647, -2147483647, 100, 100}, {0, 0, 100, 100}},
        };
        for (const auto& c : cases) {
            QCOMPARE(clampedToScreen(c.frame, screen), c.expected);
        }
        QCOMPARE(clampedToScreen(QRect(5, 5, 10, 10), QRect(1280, 0, 1024, 768)),
                 QRect(1280, 5, 10, 10));
    }

    // A remembered geometry of 2147483647 x 2147483647 makes a window of the screen's size.
    void aDamagedGeometryKeepsTheWindowOnTheScreen() {
        TestApplication app;
        HighResolutionWindow& window = app.window->highResolutionWindow();
        const QByteArray saved = window.saveGeometry();
        // the layout saveGeometry writes: magic, version, frame, normal geometry, screen,
        // maximized, full screen, screen width, geometry
        QDataStream in(saved);
        in.setVersion(QDataStream::Qt_4_0);
        quint32 magic = 0;
        quint16 major = 0, minor = 0;
        QRect frame, normal, geometry;
        qint32 screenNumber = 0, screenWidth = 0;
        quint8 maximized = 0, fullScreen = 0;
        in >> magic >> major >> minor >> frame >> normal >> screenNumber >> maximized >>
            fullScreen >> screenWidth >> geometry;
        QCOMPARE(in.status(), QDataStream::Ok);
        const QRect damaged(0, 0, 2147483647, 2147483647);
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_4_0);
        out << magic << major << minor << damaged << damaged << screenNumber << maximized
            << fullScreen << screenWidth << damaged;
        RememberedSettings settings;
        settings.highResolutionGeometry = bytes;
        applySettings(settings, *app.window, *app.session);
        const QRect available = window.screen()->availableGeometry();
        QVERIFY2(available.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("%1x%2").arg(window.width()).arg(window.height())));
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
