#include "app/main_menus.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/help_text.h"
#include "app/main_window.h"

namespace orvane::app {

namespace {

QAction* addEntry(MainWindow& window, QMenu* menu, const char* name, const QString& text,
                  void (MainWindow::*handler)(), const QList<QKeySequence>& shortcuts = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(shortcuts);
    if (handler != nullptr) {
        QObject::connect(action, &QAction::triggered, &window, handler);
    }
    return action;
}

} // namespace

MainMenus buildMainMenus(MainWindow& window) {
    MainMenus menus;
    QMenuBar* bar = window.menuBar();

    // "&" marks the mnemonic only: the titles read as designed.
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    // the keys that open a window of the program work from each of its windows
    addEntry(window, file, "Open1", QStringLiteral("Open"), &MainWindow::OpenClick,
             {QKeySequence(Qt::CTRL | Qt::Key_O)})
        ->setShortcutContext(Qt::ApplicationShortcut);
    addEntry(window, file, "SaveNormal", QStringLiteral("Save_Normal"),
             &MainWindow::SaveNormalClick, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    addEntry(window, file, "SaveSpecial", QStringLiteral("Save_Special"),
             &MainWindow::SaveSpecialClick);
    addEntry(window, file, "CopyGraphics", QStringLiteral("Copy_Graphics"),
             &MainWindow::CopyGraphicsClick, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    addEntry(window, file, "Exit1", QStringLiteral("Exit"), &MainWindow::Exit1Click,
             {QKeySequence(Qt::CTRL | Qt::Key_Q)});
    menus.savePicture =
        addEntry(window, file, "SavePicture", QStringLiteral("Save_Picture…"),
                 &MainWindow::SavePictureClick, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});

    QMenu* option = bar->addMenu(QStringLiteral("&Option"));
    option->setObjectName(QStringLiteral("Option1"));
    addEntry(window, option, "ShowMSData1", QStringLiteral("ShowMSData"),
             &MainWindow::ShowMSData1Click, {QKeySequence(Qt::Key_F8)});
    addEntry(window, option, "ShowIsotopes1", QStringLiteral("ShowIsotopes"),
             &MainWindow::ShowIsotopes1Click, {QKeySequence(Qt::Key_F9)});
    addEntry(window, option, "ShowWOrkElems1", QStringLiteral("ShowWOrkElems"),
             &MainWindow::ShowWOrkElems1Click, {QKeySequence(Qt::Key_F10)});
    addEntry(window, option, "ShowMSRange1", QStringLiteral("ShowMSRange"),
             &MainWindow::ShowMSRange1Click, {QKeySequence(Qt::Key_F11)});
    addEntry(window, option, "ShowHighResolution1", QStringLiteral("ShowHighResolution"),
             &MainWindow::ShowHighResolution1Click, {QKeySequence(Qt::Key_F12)})
        ->setShortcutContext(Qt::ApplicationShortcut);

    // tracer experiments, the last of the windows the Option menu opens
    addEntry(window, option, "CorrectIsotopologues1", QStringLiteral("Correct isotopologues…"),
             &MainWindow::CorrectIsotopologues1Click);
    // the engine's second thread, as orvane-calc's --threads sets it; remembered
    menus.twoThreads = addEntry(window, option, "TwoThreads1",
                                QStringLiteral("Calculate on two threads"), nullptr);
    menus.twoThreads->setCheckable(true);
    QObject::connect(menus.twoThreads, &QAction::toggled, &window, &MainWindow::setTwoThreads);

    QAction* initialization1 = bar->addAction(QStringLiteral("&Initialization"));
    initialization1->setObjectName(QStringLiteral("Initialization1"));
    QObject::connect(initialization1, &QAction::triggered, &window,
                     &MainWindow::Initialization1Click);

    QAction* formula1 = bar->addAction(QStringLiteral("Fo&rmula"));
    formula1->setObjectName(QStringLiteral("Formula1"));
    formula1->setShortcut(Qt::Key_F2);
    formula1->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(formula1, &QAction::triggered, &window, &MainWindow::Formula1Click);

    QAction* findFormula1 = bar->addAction(QStringLiteral("Find_Formula"));
    findFormula1->setObjectName(QStringLiteral("FindFormula1"));
    findFormula1->setShortcut(Qt::Key_F3);
    findFormula1->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(findFormula1, &QAction::triggered, &window, &MainWindow::FindFormula1Click);

    // The help has no place in the designed menu bar: F1 alone opens it.
    auto* help = new QAction(&window);
    help->setObjectName(QStringLiteral("Help1"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::ApplicationShortcut);
    window.addAction(help);
    QObject::connect(help, &QAction::triggered, &window, [&window] {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvane"), helpText(), QMessageBox::Ok,
                        &window);
        box.setTextFormat(Qt::PlainText);
        box.setObjectName(QStringLiteral("HelpBox"));
        // the text's columns line up in a font of one width
        if (auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            fixed.setStyleHint(QFont::TypeWriter);
            fixed.setFixedPitch(true);
            text->setFont(fixed);
        }
        box.exec();
    });
    return menus;
}

} // namespace orvane::app
