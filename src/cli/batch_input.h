#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

// One formula of a batch, with the line it came from.
struct BatchLine {
    std::size_t lineNumber = 0; // from 1
    std::string formula;
    std::optional<std::string> ion; // after a TAB; the --ion or the default otherwise
};

/// The formulas of a batch: one a line, optionally followed by a TAB and an ion; blank lines
/// and lines starting with "#" are skipped; a CR before the line end is dropped.
std::vector<BatchLine> readBatchLines(std::istream& in);

} // namespace orvane::cli
