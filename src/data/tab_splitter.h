#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::data {

// A data-file line is cut into fields at TAB characters only: i TABs give i + 1
// fields, empty ones included; spaces belong to the field, there is no quoting.
// A line holds at most 199 TABs (200 fields).
constexpr int maxTabsPerLine = 199;

/// The number of TAB characters in a line.
int countTabs(std::string_view line);

/// The fields of a line (without its line end). Views into `line`.
/// Precondition: countTabs(line) <= maxTabsPerLine (the loaders refuse longer lines).
std::vector<std::string_view> splitTabs(std::string_view line);

/// Refuses a line of more TABs than the splitter holds: raises text::Error naming the
/// file and the 1-based line number.
void requireTabLimit(std::string_view line, const std::string& fileName, int lineNumber);

} // namespace orvane::data
