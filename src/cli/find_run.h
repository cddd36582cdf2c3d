#pragma once

#include <optional>
#include <string>

#include "cli/command_options.h"
#include "find/formula_search.h"

namespace orvane::cli {

/// The search the command line asks for at `mz`: tolerance, element ranges, RDBE bounds and
/// rules from the options; the ions of --ion ([M+H]+ without), or `lineIon` instead.
find::FindQuery findQueryOf(const CommandLine& commandLine, double mz,
                            const std::optional<std::string>& lineIon = std::nullopt);

/// Runs --find: loads the data files, searches and writes the TAB report (or JSON) to
/// standard output. Returns the exit status: 0, or 1 when the data files do not load or
/// the search is refused (the reason on standard error).
int runFind(const CommandLine& commandLine);

/// Runs --find-batch: one search per line (an m/z, optionally a TAB and an ion) on
/// --threads threads, the table in input order whatever the threads. Returns 1 when the
/// data files did not load or any line failed.
int runFindBatch(const CommandLine& commandLine);

} // namespace orvane::cli
