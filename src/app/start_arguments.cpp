#include "app/start_arguments.h"

namespace orvane::app {

StartArguments readStartArguments(const std::vector<std::string>& arguments) {
    StartArguments start;
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "--help" || argument == "-h")) {
            start.help = true;
        } else if (options && (argument == "--version" || argument == "-v")) {
            start.version = true;
        } else if (options && argument.size() > 1 && argument.front() == '-') {
            if (start.unknownOption.empty()) {
                start.unknownOption = argument;
            }
        } else {
            start.files.push_back(argument);
        }
    }
    return start;
}

std::string startUsageText() {
    return "Usage: orvane [FILE]\n"
           "Calculates isotopic distribution patterns for mass spectrometry in a window.\n"
           "FILE, a measured spectrum (mzML, mzXML or a peak list), opens beside the theory.\n"
           "\n"
           "  -h, --help     print this text and exit\n"
           "  -v, --version  print the version and exit\n"
           "\n"
           "The data files elem.txt, abundances.txt and masses.txt are read from the working\n"
           "directory, else from $XDG_DATA_HOME/orvane, the $XDG_DATA_DIRS folders and the\n"
           "installation's share/orvane. orvane-calc runs the same calculation without a\n"
           "window; see orvane-calc(1).\n";
}

} // namespace orvane::app
