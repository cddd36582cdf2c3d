// Runs the Qt Test classes: `orvane_qtcanvas_tests [ClassName] [Qt Test options]`; without
// a class name, every class in turn.

#include <QGuiApplication>

#include "support/qt_test_registry.h"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    return orvane::testing_support::runRegisteredTests(argc, argv);
}
