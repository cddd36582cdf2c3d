#pragma once

#include <string>

namespace orvane::text {

// Where the core's notices go: the application shows them in modal message boxes,
// orvane-calc writes them to stderr, tests record them.
class Notifier {
public:
    virtual ~Notifier() = default;
    /// Shows a notice with its exact text and returns when the user has dismissed it.
    virtual void notify(const std::string& message) = 0;
    /// Shows a notice with OK (the default) and Cancel; true for OK.
    virtual bool confirm(const std::string& message) = 0;
};

} // namespace orvane::text
