// Runs the Qt Test classes: `orvane_app_tests [ClassName] [Qt Test options]`; without a
// class name, every class in turn.

#include <QApplication>

#include "support/qt_test_registry.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return orvane::testing_support::runRegisteredTests(argc, argv);
}
