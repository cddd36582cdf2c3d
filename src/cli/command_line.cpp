#include "cli/command_line.h"

namespace orvane::cli {

const char* usageText() {
    return "usage: orvane-calc [--data DIR] [--charge Z] [--count SYMBOL=TEXT]... [FORMULA]\n"
           "                   [--threshold N] [--no-labels]\n"
           "                   [--normal FILE] [--special FILE] [--png FILE]\n"
           "\n"
           "Loads elem.txt and abundances.txt from DIR (default: the current directory),\n"
           "enters the atom counts of FORMULA (e.g. C6H12O6, Cl2, C0.3) and of each --count,\n"
           "runs the calculation and prints the formula, its weight, the mass percentages and\n"
           "the isotope pattern, one TAB-separated item a line.\n"
           "\n"
           "  --data DIR        data directory\n"
           "  --charge Z        charge, 1 to 100 (default 1)\n"
           "  --count SYM=TEXT  writes TEXT as it stands into the count cell of SYM\n"
           "  --threshold N     peak-label threshold in tenths of a percent, 0 to 1000\n"
           "                    (default 1)\n"
           "  --no-labels       no peak-position labels in the picture\n"
           "  --normal FILE     writes the pattern as mass TAB intensity lines\n"
           "  --special FILE    writes the pattern with one column per peak\n"
           "  --png FILE        writes the spectrum picture (782 x 553) as PNG\n"
           "  --help            shows this text\n"
           "\n"
           "Z and N are taken as if typed into the window's boxes: a value outside the bounds\n"
           "is used as it stands (a charge of 0 gives the division error), and a text that is\n"
           "not a whole number counts as the lower bound.\n";
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& currentDirectory) {
    CommandLine commandLine;
    commandLine.dataDirectory = currentDirectory;
    bool formulaSeen = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::optional<std::string> inlineValue;
        if (argument.rfind("--", 0) == 0) {
            if (const auto equals = argument.find('='); equals != std::string::npos) {
                inlineValue = argument.substr(equals + 1);
                argument.erase(equals);
            }
        }
        auto value = [&]() -> std::string {
            if (inlineValue) {
                return *inlineValue;
            }
            if (i + 1 >= arguments.size()) {
                throw UsageError(argument + " needs a value");
            }
            return arguments[++i];
        };

        if (argument == "--help" || argument == "-h") {
            commandLine.help = true;
        } else if (argument == "--data") {
            commandLine.dataDirectory = value();
        } else if (argument == "--charge") {
            commandLine.charge = value();
        } else if (argument == "--threshold") {
            commandLine.threshold = value();
        } else if (argument == "--no-labels") {
            commandLine.showPeakPositions = false;
        } else if (argument == "--count") {
            const std::string assignment = value();
            const auto equals = assignment.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw UsageError("--count needs SYMBOL=TEXT, not '" + assignment + "'");
            }
            commandLine.counts.emplace_back(assignment.substr(0, equals),
                                            assignment.substr(equals + 1));
        } else if (argument == "--normal") {
            commandLine.normalFile = value();
        } else if (argument == "--special") {
            commandLine.specialFile = value();
        } else if (argument == "--png") {
            commandLine.pngFile = value();
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else if (formulaSeen) {
            throw UsageError("only one FORMULA may be given, found '" + argument + "' as well");
        } else {
            commandLine.formula = argument;
            formulaSeen = true;
        }
    }
    return commandLine;
}

} // namespace orvane::cli
