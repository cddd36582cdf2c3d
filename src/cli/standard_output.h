#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::cli {

// Standard output could not take the report (a full disk, a closed descriptor, a pipe
// whose reader went away); the message names the system's reason.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Writes all of `text` to file descriptor `descriptor` (1: standard output), retrying
/// short writes and interruptions. Throws OutputError with the system's message.
void writeAll(int descriptor, std::string_view text);

} // namespace orvane::cli
