#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::tracer {

// One line of a table file, split into its fields.
struct DelimitedLine {
    int number = 0; // 1 for the first line
    std::vector<std::string> fields;
};

/// The lines of `text` that hold anything but blanks, split at `delimiter`, each field's
/// blanks trimmed (IsoCor's example writes "Fum "). With `quotes`, a field may be written in
/// double quotes, "" standing for one; a CR before the newline is dropped.
std::vector<DelimitedLine> splitDelimited(std::string_view text, char delimiter, bool quotes);

/// The text of a file; raises text::Error naming it when it cannot be read.
std::string readWholeFile(const std::string& path);

} // namespace orvane::tracer
