#pragma once

#include <cstddef>
#include <string>

namespace orvane::text {

/// A size of memory or a file in its largest whole binary unit: "1 GiB", "64 KiB",
/// "1500 bytes".
std::string byteSizeText(std::size_t bytes);

} // namespace orvane::text
