// Orvane: start-up of the windowed application.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>

#include <string>

#include "app/decimal_separator.h"
#include "app/main_window.h"
#include "app/message_box_dialogs.h"
#include "data/data_folders.h"
#include "qtcanvas/image_canvas.h"
#include "session/session.h"

int main(int argc, char** argv) {
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
    session.searchDataFolders(orvane::data::dataFolderCandidates(
        dataDirectory, orvane::data::processEnvironment(),
        orvane::data::installedDataFolder(
            QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString())));
    orvane::app::MainWindow window(session, dialogs, canvas);
    window.show();
    return application.exec();
}
