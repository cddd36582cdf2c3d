#pragma once

#include <cstdio>
#include <string>

namespace orvane::cli {

/// A double with enough digits to read the same double back.
inline std::string roundTrip(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace orvane::cli
