#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QTest>

namespace orvane::testing_support {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

/// The Qt Test classes of this executable, by class name.
inline std::map<std::string, TestFactory>& testRegistry() {
    static std::map<std::string, TestFactory> registry;
    return registry;
}

// Registers a test class from its own file: `static RegisterTest r("Name", factory);`.
struct RegisterTest {
    RegisterTest(const std::string& name, TestFactory factory) {
        testRegistry().emplace(name, std::move(factory));
    }
};

/// Runs the classes named among the arguments (every class when none is), passing the other
/// arguments to Qt Test; 0 when all passed. The application object must exist.
inline int runRegisteredTests(int argc, char** argv) {
    auto& registry = testRegistry();
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

} // namespace orvane::testing_support
