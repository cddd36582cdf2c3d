// orvane-calc: the window's calculation chain from the command line, for scripts and
// pipelines.

#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include <QGuiApplication>

#include "cli/batch_run.h"
#include "cli/command_options.h"
#include "cli/data_folder.h"
#include "cli/find_run.h"
#include "cli/single_run.h"
#include "cli/standard_output.h"
#include "cli/version_text.h"
#include "qtcanvas/image_canvas.h"
#include "qtcanvas/picture_file.h"
#include "text/error.h"

namespace {

using namespace orvane;

// The pictures need Qt's painting and fonts, but never a display; the application is made
// when the first picture is drawn.
class QtPictureWriter final : public cli::PictureWriter {
public:
    QtPictureWriter(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

    void writeSpectrum(const std::string& path, cli::PictureType type, int scale,
                       const std::function<void(plot::Canvas&)>& draw) override {
        ensureApplication();
        const qtcanvas::PictureFormat format =
            type == cli::PictureType::Svg   ? qtcanvas::PictureFormat::Svg
            : type == cli::PictureType::Pdf ? qtcanvas::PictureFormat::Pdf
                                            : qtcanvas::PictureFormat::Png;
        qtcanvas::savePicture(path, format, qtcanvas::ImageCanvas::designedWidth,
                              qtcanvas::ImageCanvas::designedHeight, scale, draw);
    }
    void writeHighResolution(const std::string& path, int scale,
                             const std::function<void(plot::Canvas&)>& draw) override {
        ensureApplication();
        qtcanvas::savePicture(path, qtcanvas::PictureFormat::Png, 880, 420, scale, draw);
    }

private:
    void ensureApplication() {
        if (!m_application) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
        }
    }

    int& m_argc;
    char** m_argv;
    std::unique_ptr<QGuiApplication> m_application;
};

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

int run(int argc, char** argv) {
    cli::CommandLine commandLine;
    try {
        commandLine = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                            currentDirectory());
    } catch (const cli::UsageError& error) {
        std::cerr << "orvane-calc: " << error.what() << "\nRun with --help for more information.\n";
        return 2;
    }
    if (commandLine.help) {
        cli::writeAll(1, cli::usageText());
        return 0;
    }
    cli::findDataFolder(commandLine, executablePath(argv[0]));
    if (commandLine.version) {
        cli::writeAll(1, cli::versionText(commandLine.dataDirectory));
        return 0;
    }
    if (commandLine.findMz) {
        return cli::runFind(commandLine);
    }
    if (commandLine.findBatchFile) {
        return cli::runFindBatch(commandLine);
    }
    if (commandLine.batchFile) {
        return cli::runBatch(commandLine);
    }
    QtPictureWriter pictures(argc, argv);
    return cli::runSingle(commandLine, pictures);
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const cli::OutputError& error) {
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
