#pragma once

#include <string>

namespace orvane::exporting {

/// A real number in a field of `width` characters with exactly `decimals` decimals:
/// 18-significant-digit expansion (ties to even), then half away from zero at the
/// last decimal; "." whatever the locale; right-aligned, never cut.
std::string fileReal(long double value, int width, int decimals);

} // namespace orvane::exporting
