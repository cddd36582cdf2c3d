#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/batch_input.h"
#include "cli/batch_row.h"
#include "cli/command_options.h"

namespace orvane::cli {

/// Calculates every line of a batch with the settings of `commandLine` (data directory,
/// charge, threshold, --count, --ion as the default ion), on `threads` threads, each with a
/// session of its own. Rows are handed to `deliver` in input order as soon as every row
/// before them is done, from the calling thread. Raises text::Error when the data files do
/// not load.
void calculateBatch(const std::vector<BatchLine>& lines, const CommandLine& commandLine,
                    unsigned threads, const std::function<void(const BatchRow&)>& deliver);

/// Runs --batch: reads the lines (the file or standard input), writes the table to
/// standard output and a progress line to standard error when it is a terminal. Returns
/// the exit status: 1 when the data files did not load or any line failed.
int runBatch(const CommandLine& commandLine);

} // namespace orvane::cli
