#pragma once

class QAction;

namespace orvane::app {

class MainWindow;

// The main window's menu bar: the designed entries with their F-keys, mnemonics on the menu
// titles (Alt+F opens File) and the usual desktop shortcuts beside them (Ctrl+O, Ctrl+S,
// Ctrl+Shift+S, Ctrl+Shift+C, Ctrl+Q, F1 for the help).
struct MainMenus {
    QAction* savePicture = nullptr;
    QAction* twoThreads = nullptr; // checked while the exact engine shares its steps
};

/// Builds the menu bar of `window` and connects every entry to its handler.
MainMenus buildMainMenus(MainWindow& window);

} // namespace orvane::app
