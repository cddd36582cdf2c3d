#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvane::cli {

// What orvane-calc was asked to do.
struct CommandLine {
    std::string dataDirectory;                               // --data, default: current directory
    std::optional<std::string> charge;                       // --charge, as typed into the box
    std::optional<std::string> threshold;                    // --threshold, tenths of a percent
    bool showPeakPositions = true;                           // --no-labels turns it off
    std::vector<std::pair<std::string, std::string>> counts; // --count SYMBOL=TEXT, in order
    std::string formula;                                     // FORMULA, may be empty
    std::optional<std::string> normalFile, specialFile, pngFile;
    bool help = false;
};

// A command line that cannot be understood; orvane-calc exits with status 2.
class UsageError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

/// The short usage text printed by --help and after a usage error.
const char* usageText();

/// Reads the arguments (without the program name). Options take their value as the next
/// argument or after "=". Throws UsageError.
CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& currentDirectory);

} // namespace orvane::cli
