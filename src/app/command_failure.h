#pragma once

#include <functional>
#include <optional>
#include <string>

namespace orvane::app {

/// Runs a command of a window and returns what it failed with, as the user is told it;
/// nothing when it ran through. `task` says what was asked ("calculate the pattern"): a
/// shortage of memory reads "Not enough memory to <task>.", a library's failure "Cannot
/// <task>: <what>"; the core's errors keep their own words. The one boundary where a window's
/// command may fail without the window going down.
std::optional<std::string> commandFailure(const char* task, const std::function<void()>& command);

} // namespace orvane::app
