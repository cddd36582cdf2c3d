#include "cli/program.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <system_error>
#include <vector>

#include "cli/batch_run.h"
#include "cli/correct_run.h"
#include "cli/data_folder.h"
#include "cli/find_run.h"
#include "cli/standard_output.h"
#include "text/error.h"

namespace orvane::cli {

namespace {

// The current directory, the data directory without --data; "." when it has been deleted,
// so that the data files are looked for (and reported missing) there.
std::string currentDirectory() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::string(".") : path.string();
}

// Where this program lies, for the data folder of its installation.
std::string executablePath(const char* argument0) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(argument0 == nullptr ? "" : argument0) : path.string();
}

// In the program without Qt: never asked, runProgram hands picture runs over first.
class NoPictures final : public PictureWriter {
public:
    void writeSpectrum(const std::string&, PictureType, int,
                       const std::function<void(plot::Canvas&)>&) override {
        throw text::Error("pictures are written by orvane-calc-qt");
    }
    void writeHighResolution(const std::string&, int,
                             const std::function<void(plot::Canvas&)>&) override {
        throw text::Error("pictures are written by orvane-calc-qt");
    }
};

} // namespace

bool writesPictures(const CommandLine& commandLine) {
    return commandLine.pngFile || commandLine.svgFile || commandLine.pdfFile ||
           commandLine.hiresPngFile;
}

namespace {

int runCommandLine(int argc, char** argv, const ProgramParts& parts) {
    CommandLine commandLine;
    try {
        commandLine =
            parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), currentDirectory());
    } catch (const UsageError& error) {
        std::cerr << "orvane-calc: " << error.what() << "\nRun with --help for more information.\n";
        return 2;
    }
    if (commandLine.help) {
        writeAll(1, usageText());
        return 0;
    }
    if ((commandLine.version && !parts.version) ||
        (writesPictures(commandLine) && !parts.pictures)) {
        return parts.handOver();
    }
    findDataFolder(commandLine, executablePath(argv[0]));
    if (commandLine.version) {
        writeAll(1, parts.version(commandLine.dataDirectory));
        return 0;
    }
    if (commandLine.correctFile) {
        return runCorrect(commandLine);
    }
    if (commandLine.findMz) {
        return runFind(commandLine);
    }
    if (commandLine.findBatchFile) {
        return runFindBatch(commandLine);
    }
    if (commandLine.batchFile) {
        return runBatch(commandLine);
    }
    if (parts.pictures) {
        const std::unique_ptr<PictureWriter> pictures = parts.pictures();
        return runSingle(commandLine, *pictures);
    }
    NoPictures none;
    return runSingle(commandLine, none);
}

} // namespace

int runProgram(int argc, char** argv, const ProgramParts& parts) {
    try {
        return runCommandLine(argc, argv, parts);
    } catch (const OutputError& error) {
        std::cerr << "orvane-calc: " << error.what() << '\n';
    } catch (const text::Error& error) {
        std::cerr << "orvane-calc: " << error.what() << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "orvane-calc: Not enough memory to calculate.\n";
    } catch (const std::exception& error) {
        // the last line: a library's failure ends the run with its words, not an abort
        std::cerr << "orvane-calc: cannot calculate: " << error.what() << '\n';
    }
    return 1;
}

} // namespace orvane::cli
