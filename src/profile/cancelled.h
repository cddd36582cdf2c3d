#pragma once

#include <stop_token>

namespace orvane::profile {

// Raised by the profile functions when their stop token asks them to stop; they leave
// nothing behind.
struct Cancelled {};

/// Throws Cancelled when a stop has been requested on `stop`.
inline void throwIfStopRequested(const std::stop_token& stop) {
    if (stop.stop_requested()) {
        throw Cancelled{};
    }
}

} // namespace orvane::profile
