#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QObject>

namespace orvane::qtcanvas::testing {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

/// The Qt Test classes of this executable, by class name.
std::map<std::string, TestFactory>& testRegistry();

// Registers a test class from its own file: `static RegisterTest r("Name", factory);`.
struct RegisterTest {
    RegisterTest(const std::string& name, TestFactory factory) {
        testRegistry().emplace(name, std::move(factory));
    }
};

} // namespace orvane::qtcanvas::testing
