#pragma once

#include <iostream>
#include <string>

#include "text/notifier.h"

namespace orvane::cli {

// Notices go to stderr and the run goes on, as the window's would after OK; the
// existing-file notice is answered with its default, OK (replace).
class StderrNotifier final : public text::Notifier {
public:
    void notify(const std::string& message) override { std::cerr << "notice: " << message << '\n'; }
    bool confirm(const std::string& message) override {
        notify(message);
        return true;
    }
};

} // namespace orvane::cli
