#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_input.h"
#include "cli/batch_row.h"
#include "cli/command_options.h"

namespace orvane::cli {

// Hands out the lines of a batch one at a time; nothing at the end.
using BatchLineSource = std::function<std::optional<BatchLine>()>;

/// How many lines a batch of `threads` threads reads ahead of its output.
inline std::size_t batchWindow(unsigned threads) {
    return std::max<std::size_t>(256, std::size_t(threads) * 32);
}

/// How many lines a thread takes at a time where reading them never waits (a file):
/// fewer hand-overs between threads.
inline constexpr std::size_t batchChunk = 32;

/// Calculates every line `next` hands out with the settings of `commandLine` (data
/// directory, charge, threshold, --count, --ion as the default ion), on `threads` threads,
/// each with a session of its own. Rows are handed to `deliver` in input order as soon as
/// every row before them is done, from the calling thread. At most `window` lines are read
/// and not yet delivered: a slow `deliver` holds the reading back. `next` is called from
/// one thread at a time and may outlive the call when it fails. Each thread takes up to
/// `chunk` lines at a time (at most its share of the window). Raises text::Error when the
/// data files do not load, and passes on what `deliver` raises.
void calculateBatch(BatchLineSource next, const CommandLine& commandLine, unsigned threads,
                    std::size_t window, const std::function<void(const BatchRow&)>& deliver,
                    std::size_t chunk = 1);

/// Runs --batch: reads the lines (the file or standard input), writes the table to
/// standard output and a progress line to standard error when it is a terminal. Returns
/// the exit status: 1 when the data files did not load or any line failed.
int runBatch(const CommandLine& commandLine);

} // namespace orvane::cli
