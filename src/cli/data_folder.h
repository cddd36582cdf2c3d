#pragma once

#include <string>

#include "cli/command_options.h"

namespace orvane::cli {

/// Without --data: when the current directory holds no elem.txt, the data directory becomes
/// the first standard folder that does ($XDG_DATA_HOME/orvane, the $XDG_DATA_DIRS entries,
/// the installation's data folder), and a notice on standard error names it. The folders
/// looked in are kept for the message when none holds the files. With --data nothing changes.
void findDataFolder(CommandLine& commandLine, const std::string& executablePath);

} // namespace orvane::cli
