// Runs the Qt Test classes: `orvane_qtcanvas_tests [ClassName] [Qt Test options]`; without a
// class name, every class in turn.

#include <QGuiApplication>
#include <QTest>

#include <string>
#include <vector>

#include "test_registry.h"

namespace orvane::qtcanvas::testing {

std::map<std::string, TestFactory>& testRegistry() {
    static std::map<std::string, TestFactory> registry;
    return registry;
}

} // namespace orvane::qtcanvas::testing

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    auto& registry = orvane::qtcanvas::testing::testRegistry();

    std::vector<char*> arguments{argv[0]};
    std::vector<std::string> selected;
    for (int i = 1; i < argc; ++i) {
        if (registry.count(argv[i]) != 0) {
            selected.emplace_back(argv[i]);
        } else {
            arguments.push_back(argv[i]);
        }
    }
    if (selected.empty()) {
        for (const auto& [name, factory] : registry) {
            selected.push_back(name);
        }
    }
    int failures = 0;
    for (const std::string& name : selected) {
        const std::unique_ptr<QObject> test = registry.at(name)();
        failures += QTest::qExec(test.get(), static_cast<int>(arguments.size()), arguments.data());
    }
    return failures == 0 ? 0 : 1;
}
