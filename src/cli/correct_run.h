#pragma once

#include "cli/command_options.h"

namespace orvane::cli {

/// Runs --correct: loads the data files, reads the measurements, the metabolites and the
/// derivatives, corrects every distribution and writes the sheet asked for (--sheet) in
/// --format to standard output. Returns the exit status: 0, or 1 when the data files do not
/// load (the reason on standard error); a bad input raises text::Error naming it.
int runCorrect(const CommandLine& commandLine);

} // namespace orvane::cli
