// orvane-calc: the window's calculation chain from the command line, for scripts and
// pipelines. This program loads no Qt; a run that writes a picture or asks for the data
// files' digests is handed to orvane-calc-qt, the same program with Qt's painting.

#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/program.h"

namespace {

using namespace orvane;

// The program with Qt: beside this one (a build folder), or in the installation's folder
// of helper programs. Returns only when neither can be started.
int handOverToQt(char** argv) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path(".") : self.parent_path();
    const std::filesystem::path beside = folder / "orvane-calc-qt";
    const std::filesystem::path installed =
        (folder / ORVANE_QT_PROGRAM_FOLDER / "orvane-calc-qt").lexically_normal();
    for (const std::filesystem::path& program : {beside, installed}) {
        ::execv(program.c_str(), argv);
    }
    std::cerr << "orvane-calc: pictures and --version need orvane-calc-qt, found neither at "
              << beside.string() << " nor at " << installed.string() << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // A batch allocates and frees large blocks target after target (a target's rows, the
    // search's hits). Kept in the heap they are reused; given back to the system they would
    // be mapped and faulted in afresh for every target (4-8 % of a --find-batch that writes
    // every candidate). A process that runs one batch and ends needs nothing given back.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    return cli::runProgram(argc, argv, {{}, {}, [argv] { return handOverToQt(argv); }});
}
