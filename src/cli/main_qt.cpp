// orvane-calc-qt: orvane-calc with Qt's painting, for the runs that write pictures, and
// with Qt Core's digests for --version. orvane-calc hands such runs to it.

#include <memory>
#include <string>

#include <QGuiApplication>

#include "cli/program.h"
#include "cli/version_text.h"
#include "qtcanvas/image_canvas.h"
#include "qtcanvas/picture_file.h"

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

} // namespace

int main(int argc, char** argv) {
    cli::ProgramParts parts;
    parts.pictures = [&argc, argv] { return std::make_unique<QtPictureWriter>(argc, argv); };
    parts.version = [](const std::string& dataDirectory) {
        return cli::versionText(dataDirectory);
    };
    parts.handOver = [] { return 1; }; // never asked: this program has every part
    return cli::runProgram(argc, argv, parts);
}
