#include "app/command_failure.h"

#include <exception>
#include <new>

#include "text/error.h"

namespace orvane::app {

std::optional<std::string> commandFailure(const char* task, const std::function<void()>& command) {
    try {
        command();
        return std::nullopt;
    } catch (const text::Error& error) {
        return std::string(error.what());
    } catch (const std::bad_alloc&) {
        // the session keeps what it had; the user can try something smaller
        return std::string("Not enough memory to ") + task + ".";
    } catch (const std::exception& error) {
        // the last line: a library's failure is shown, and the window stays
        return std::string("Cannot ") + task + ": " + error.what();
    }
}

} // namespace orvane::app
