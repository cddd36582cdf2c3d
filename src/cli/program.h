#pragma once

#include <functional>
#include <memory>
#include <string>

#include "cli/command_options.h"
#include "cli/single_run.h"

namespace orvane::cli {

// What one build of orvane-calc brings besides the plain core. The program without Qt
// leaves the pictures and the data files' digests empty and hands a command line that needs
// them to the program with Qt, so that a run without pictures starts without loading Qt.
struct ProgramParts {
    std::function<std::unique_ptr<PictureWriter>()> pictures;
    std::function<std::string(const std::string& dataDirectory)> version;
    // Runs the program with Qt on the same arguments; returns only when it cannot.
    std::function<int()> handOver;
};

/// True when the command line writes a picture (the spectrum or the high-resolution plot).
bool writesPictures(const CommandLine& commandLine);

/// orvane-calc: parses the arguments and runs what they ask, with `parts`; the exit status.
/// An error that escapes the run is said on standard error as orvane-calc says its errors,
/// with exit status 1, never an abort.
int runProgram(int argc, char** argv, const ProgramParts& parts);

} // namespace orvane::cli
