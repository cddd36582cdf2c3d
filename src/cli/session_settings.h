#pragma once

#include "cli/command_options.h"
#include "session/session.h"

namespace orvane::cli {

// The ion without --ion: the molecule itself at the charge ("[M]+", "[M]2+", ...).
inline constexpr const char* defaultIon = "[M]z+";
// The ion of --charges without --ion: the protonated molecule of each charge.
inline constexpr const char* defaultLadderIon = "[M+zH]z+";

/// Types the command line's settings into the session's boxes as the window's user would:
/// charge, label threshold, label switch, resolving power and coverage. Before the first
/// calculation they draw nothing.
void applySettings(session::Session& run, const CommandLine& commandLine);

} // namespace orvane::cli
