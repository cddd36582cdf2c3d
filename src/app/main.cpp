// Orvane: start-up of the windowed application.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#include "app/decimal_separator.h"
#include "app/main_window.h"
#include "app/message_box_dialogs.h"
#include "app/remembered_settings.h"
#include "app/small_screen.h"
#include "app/start_arguments.h"
#include "data/data_folders.h"
#include "qtcanvas/image_canvas.h"
#include "session/session.h"

int main(int argc, char** argv) {
    // --help and --version need no display: answered before the application exists.
    const orvane::app::StartArguments start =
        orvane::app::readStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (start.help) {
        std::fputs(orvane::app::startUsageText().c_str(), stdout);
        return 0;
    }
    if (start.version) {
        std::printf("orvane %s\n", ORVANE_VERSION);
        return 0;
    }
    if (!start.unknownOption.empty()) {
        std::fprintf(stderr, "orvane: unknown option %s\nRun with --help for more information.\n",
                     start.unknownOption.c_str());
        return 2;
    }

    QApplication application(argc, argv);

    // The data directory is where the program was started, fixed for the run: a file
    // dialog that changes the current directory later does not move it.
    const std::string dataDirectory = QFile::encodeName(QDir::currentPath()).toStdString();
    const char separator = orvane::app::decimalSeparator(QLocale::system());

    orvane::app::MessageBoxDialogs dialogs;
    orvane::qtcanvas::ImageCanvas canvas;
    orvane::session::Session session(dataDirectory, separator, dialogs, canvas);
    // Started elsewhere (a terminal in the home folder, a file manager), the data files are
    // looked for in the user's and the system's data folders and beside the installation.
    session.searchDataFolders(orvane::data::standardDataFolders(
        dataDirectory, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
    orvane::app::MainWindow window(session, dialogs, canvas);

    // What the last run left: formulas, folders, the high-resolution window's settings.
    const orvane::app::SettingsStore settings;
    QString problem;
    const orvane::app::RememberedSettings remembered = settings.read(&problem);
    orvane::app::applySettings(remembered, window, session);
    QObject::connect(&application, &QCoreApplication::aboutToQuit,
                     [&] { settings.write(orvane::app::currentSettings(window, session)); });
    // On a laptop screen smaller than the designed window, its contents scroll.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        orvane::app::fitToScreen(window, orvane::app::MainWindow::designedOuterFrame(),
                                 screen->availableGeometry());
    }
    window.show();
    if (!problem.isEmpty()) {
        dialogs.notify(problem.toStdString());
    }
    // A file given by the file manager opens once the window is up; several: the last.
    if (!start.files.empty()) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(start.files.back()));
        QTimer::singleShot(0, &window, [&window, file] { window.openSpectrumFile(file); });
    }
    return application.exec();
}
