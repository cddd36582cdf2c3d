#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>

#include "export/writer_system_calls.h"
#include "qtcanvas/image_canvas.h"
#include "qtcanvas/picture_file.h"
#include "test_registry.h"
#include "text/error.h"

namespace orvane::qtcanvas {

namespace {

// A small spectrum-like picture: a frame, a stick, a dotted guide and the formula.
void drawSample(plot::Canvas& canvas) {
    canvas.clear(plot::white);
    canvas.setPen(1, plot::black, plot::PenStyle::Solid);
    canvas.setBrush(plot::white);
    canvas.rectangle(10, 10, canvas.width() - 11, canvas.height() - 11);
    canvas.setPen(3, plot::blue, plot::PenStyle::Solid);
    canvas.moveTo(60, canvas.height() - 11);
    canvas.lineTo(60, 30);
    canvas.setPen(1, plot::red, plot::PenStyle::Dotted);
    canvas.moveTo(11, 40);
    canvas.lineTo(canvas.width() - 11, 40);
    canvas.setFont(10, plot::black);
    canvas.textOut(80, 20, "C6H12O6");
    canvas.setBrush(plot::blue);
    canvas.rectangle(100, 60, 140, 90);
}

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The error text of a save of the sample to `path`, or "saved".
QString saveError(const std::string& path, PictureFormat format = PictureFormat::Png) {
    try {
        savePicture(path, format, 200, 120, 1, drawSample);
    } catch (const text::Error& error) {
        return QString::fromStdString(error.what());
    }
    return QStringLiteral("saved");
}

std::string encodedPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Makes the safe writer's writes fail with a full disk while it lives.
class FullDisk {
public:
    FullDisk() {
        exporting::writerSystemCalls().write = [](int, const void*, std::size_t) -> ssize_t {
            errno = ENOSPC;
            return -1;
        };
    }
    ~FullDisk() { exporting::writerSystemCalls() = exporting::realWriterSystemCalls(); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};

} // namespace

class PictureFileTest : public QObject {
    Q_OBJECT

private slots:
    void theExtensionNamesTheFormat_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format"); // -1: none
        QTest::newRow("no extension") << "picture" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("another picture") << "picture.jpeg" << -1;
        QTest::newRow("png inside the name") << "picture.png.txt" << -1;
        QTest::newRow("a folder's extension") << "pictures.png/spectrum" << -1;
        QTest::newRow("a dot alone") << "picture." << -1;
        QTest::newRow("png") << "spectrum.png" << int(PictureFormat::Png);
        QTest::newRow("PNG") << "/tmp/SPECTRUM.PNG" << int(PictureFormat::Png);
        QTest::newRow("svg") << "dir.x/spectrum.Svg" << int(PictureFormat::Svg);
        QTest::newRow("pdf") << "spectrum.pdf" << int(PictureFormat::Pdf);
        QTest::newRow("PdF") << "a b/spectrum.PdF" << int(PictureFormat::Pdf);
    }
    void theExtensionNamesTheFormat() {
        QFETCH(QString, path);
        QFETCH(int, format);
        const std::optional<PictureFormat> found = pictureFormatOf(path.toStdString());
        QCOMPARE(found ? static_cast<int>(*found) : -1, format);
    }

    void impossiblePicturesAreRefused_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("scale");
        QTest::newRow("png at scale 3") << int(PictureFormat::Png) << 100 << 100 << 3;
        QTest::newRow("png at scale 0") << int(PictureFormat::Png) << 100 << 100 << 0;
        QTest::newRow("no width") << int(PictureFormat::Png) << 0 << 100 << 1;
        QTest::newRow("no height") << int(PictureFormat::Svg) << 100 << 0 << 1;
        QTest::newRow("negative") << int(PictureFormat::Pdf) << -5 << 100 << 1;
    }
    void impossiblePicturesAreRefused() {
        QFETCH(int, format);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, scale);
        bool drawn = false;
        QVERIFY_THROWS_EXCEPTION(text::Error,
                                 encodePicture(static_cast<PictureFormat>(format), width, height,
                                               scale, [&](plot::Canvas&) { drawn = true; }));
        QVERIFY(!drawn);
    }

    void anErrorOfTheDrawingIsPassedOn() {
        for (const PictureFormat format :
             {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
            QVERIFY_THROWS_EXCEPTION(text::Error,
                                     encodePicture(format, 50, 50, 1, [](plot::Canvas&) {
                                         throw text::Error("nothing to draw");
                                     }));
        }
    }

    void pngAtScaleOneIsTheImageCanvasPicture() {
        const QImage decoded = QImage::fromData(
            bytesOf(encodePicture(PictureFormat::Png, 200, 120, 1, drawSample)), "PNG");
        QVERIFY(!decoded.isNull());
        ImageCanvas canvas(200, 120);
        drawSample(canvas);
        const QImage expected = canvas.image();
        QCOMPARE(decoded.size(), expected.size());
        QCOMPARE(decoded.dotsPerMeterX(), expected.dotsPerMeterX());
        const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                QCOMPARE(rgb.pixel(x, y), expected.pixel(x, y));
            }
        }
    }

    void pngAtScaleIsLarger_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("2x") << 2;
        QTest::newRow("4x") << 4;
    }
    void pngAtScaleIsLarger() {
        QFETCH(int, scale);
        int drawnWidth = 0;
        const QImage decoded =
            QImage::fromData(bytesOf(encodePicture(PictureFormat::Png, 200, 120, scale,
                                                   [&](plot::Canvas& canvas) {
                                                       drawnWidth = canvas.width();
                                                       drawSample(canvas);
                                                   })),
                             "PNG");
        QCOMPARE(drawnWidth, 200); // laid out at the logical size
        QCOMPARE(decoded.size(), QSize(200 * scale, 120 * scale));
        ImageCanvas canvas(200, 120, scale);
        drawSample(canvas);
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), canvas.image());
    }

    void svgIsValidAndHoldsTheText() {
        const QByteArray svg = bytesOf(encodePicture(PictureFormat::Svg, 200, 120, 4, drawSample));
        QXmlStreamReader reader(svg);
        bool hasFormula = false;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isCharacters() && reader.text().toString().contains(u"C6H12O6")) {
                hasFormula = true;
            }
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QVERIFY(hasFormula);
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 200, 120));
        // The shapes are where the canvas put them: rendered at the drawing's size, the
        // blue rectangle's inside is blue and the page around it white.
        QImage rendered(200, 120, QImage::Format_RGB32);
        rendered.fill(Qt::gray);
        QPainter painter(&rendered);
        renderer.render(&painter);
        painter.end();
        QCOMPARE(rendered.pixel(120, 75), qRgb(0, 0, 255));
        QCOMPARE(rendered.pixel(150, 100), qRgb(255, 255, 255));
        QCOMPARE(rendered.pixel(5, 5), qRgb(255, 255, 255));
    }

    void pdfIsOneWholeDocument() {
        const QByteArray pdf = bytesOf(encodePicture(PictureFormat::Pdf, 200, 120, 2, drawSample));
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                     pdf.count("/Type /Page/") + pdf.count("/Type /Page "),
                 1);
    }

    void aSaveToAFullDeviceRaisesTheError() {
        QCOMPARE(saveError("/dev/full"), QStringLiteral("ディスクがいっぱいです"));
        QCOMPARE(saveError("/dev/full", PictureFormat::Svg),
                 QStringLiteral("ディスクがいっぱいです"));
    }

    void aFailedSaveLeavesTheOldFileWhole() {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("spectrum.png"));
        writeAll(path, "old picture");
        {
            const FullDisk full;
            QCOMPARE(saveError(encodedPath(path)), QStringLiteral("ディスクがいっぱいです"));
        }
        QCOMPARE(readAll(path), QByteArray("old picture"));
        QCOMPARE(QDir(directory.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("spectrum.png")});

        // A file no one may write to is refused, even for the superuser.
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QVERIFY(saveError(encodedPath(path)) != QStringLiteral("saved"));
        QCOMPARE(readAll(path), QByteArray("old picture"));
    }

    void aFailedDrawingLeavesTheOldFileUntouched() {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("spectrum.svg"));
        writeAll(path, "old picture");
        QVERIFY_THROWS_EXCEPTION(
            text::Error, savePicture(encodedPath(path), PictureFormat::Svg, 100, 100, 1,
                                     [](plot::Canvas&) { throw text::Error("nothing to draw"); }));
        QCOMPARE(readAll(path), QByteArray("old picture"));
    }

    void aSavedPictureIsTheEncodedOne() {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("spectrum.png"));
        writeAll(path, "old picture");
        QCOMPARE(saveError(encodedPath(path)), QStringLiteral("saved"));
        QCOMPARE(readAll(path),
                 bytesOf(encodePicture(PictureFormat::Png, 200, 120, 1, drawSample)));
    }
};

static testing::RegisterTest registration("PictureFileTest",
                                          [] { return std::make_unique<PictureFileTest>(); });

} // namespace orvane::qtcanvas

#include "picture_file_test.moc"
