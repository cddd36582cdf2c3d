#pragma once

#include <string>
#include <vector>

namespace orvane::app {

// What `orvane` was started with: --help and --version answer without a window (and
// without a display); other arguments are measured spectra to open, as a file manager
// passes them.
struct StartArguments {
    bool help = false;
    bool version = false;
    std::vector<std::string> files;
    std::string unknownOption; // the first option not understood, if any
};

/// Reads the arguments after the program name; "--" ends the options.
StartArguments readStartArguments(const std::vector<std::string>& arguments);

/// What --help prints.
std::string startUsageText();

} // namespace orvane::app
