#include "qtcanvas/picture_file.h"

#include "export/safe_file_writer.h"
#include "qtcanvas/image_canvas.h"
#include "qtcanvas/painter_canvas.h"
#include "text/error.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace orvane::qtcanvas {

namespace {

// The drawing's pixels are 1/96 inch, as on the screen it was designed for.
constexpr int pixelsPerInch = 96;
constexpr double pointsPerPixel = 72.0 / pixelsPerInch;
// Fine enough that the PDF's coordinates lose nothing of the drawing.
constexpr int pdfResolution = 1200;

std::string fromBuffer(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string encodePng(int width, int height, int scale,
                      const std::function<void(plot::Canvas&)>& draw) {
    ImageCanvas canvas(width, height, scale);
    draw(canvas);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!canvas.image().save(&buffer, "PNG")) {
        throw text::Error("The picture could not be encoded as PNG.");
    }
    return fromBuffer(bytes);
}

std::string encodeSvg(int width, int height, const std::function<void(plot::Canvas&)>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setResolution(pixelsPerInch);
    generator.setTitle(QStringLiteral("Orvane"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        throw text::Error("The picture could not be encoded as SVG.");
    }
    PainterCanvas canvas(painter, width, height);
    draw(canvas);
    painter.end();
    return fromBuffer(bytes);
}

std::string encodePdf(int width, int height, const std::function<void(plot::Canvas&)>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Orvane"));
        writer.setResolution(pdfResolution);
        // One page just the picture's size, without margins.
        writer.setPageSize(QPageSize(QSizeF(width * pointsPerPixel, height * pointsPerPixel),
                                     QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw text::Error("The picture could not be encoded as PDF.");
        }
        painter.scale(static_cast<double>(pdfResolution) / pixelsPerInch,
                      static_cast<double>(pdfResolution) / pixelsPerInch);
        PainterCanvas canvas(painter, width, height);
        draw(canvas);
        painter.end();
    }
    return fromBuffer(bytes);
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") {
        return PictureFormat::Png;
    }
    if (extension == ".svg") {
        return PictureFormat::Svg;
    }
    if (extension == ".pdf") {
        return PictureFormat::Pdf;
    }
    return std::nullopt;
}

std::string encodePicture(PictureFormat format, int width, int height, int scale,
                          const std::function<void(plot::Canvas&)>& draw) {
    if (width <= 0 || height <= 0) {
        throw text::Error("A picture needs a width and a height of at least one pixel.");
    }
    switch (format) {
    case PictureFormat::Png:
        if (scale != 1 && scale != 2 && scale != 4) {
            throw text::Error("A PNG picture is drawn at scale 1, 2 or 4.");
        }
        return encodePng(width, height, scale, draw);
    case PictureFormat::Svg:
        return encodeSvg(width, height, draw);
    case PictureFormat::Pdf:
        return encodePdf(width, height, draw);
    }
    return {};
}

void savePicture(const std::string& path, PictureFormat format, int width, int height, int scale,
                 const std::function<void(plot::Canvas&)>& draw) {
    const std::string bytes = encodePicture(format, width, height, scale, draw);
    exporting::writeFileAtomically(path, bytes);
}

} // namespace orvane::qtcanvas
