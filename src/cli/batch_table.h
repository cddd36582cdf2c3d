#pragma once

#include <string>
#include <vector>

#include "cli/batch_row.h"
#include "cli/command_options.h"

namespace orvane::cli {

/// The header line of the batch table (none for JSON).
std::string batchHeader(BatchFormat format);

/// One row of the batch table, ending in a newline: line, input, formula, fw, mz, n0,
/// centroid, monoisotopicMass, ion, monoisotopicMz, mostAbundantMz, error. TSV replaces TABs
/// and line breaks inside a field by blanks; CSV quotes fields as RFC 4180 does; JSON
/// writes the object of --json with "line" and "input" (and "error" instead for a failed
/// line) on one line.
std::string batchRowText(const BatchRow& row, BatchFormat format);

/// The fields as one line of a TSV or CSV table, quoted as batchRowText quotes them.
std::string tableLine(const std::vector<std::string>& fields, BatchFormat format);

} // namespace orvane::cli
