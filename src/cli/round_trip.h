#pragma once

#include <string>

#include "text/shortest_text.h"

namespace orvane::cli {

/// A double with enough digits to read the same double back, and no more.
inline std::string roundTrip(double value) {
    return text::shortestText(value);
}

} // namespace orvane::cli
