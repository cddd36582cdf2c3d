#include "app/picture_choice.h"

#include <QFile>

#include <array>
#include <optional>

namespace orvane::app {

namespace {

struct PictureFilter {
    const char* text;
    const char* extension;
    qtcanvas::PictureFormat format;
    int scale;
};

constexpr std::array<PictureFilter, 5> filters{{
    {"PNG (1×) (*.png)", "png", qtcanvas::PictureFormat::Png, 1},
    {"PNG (2×) (*.png)", "png", qtcanvas::PictureFormat::Png, 2},
    {"PNG (4×) (*.png)", "png", qtcanvas::PictureFormat::Png, 4},
    {"SVG (*.svg)", "svg", qtcanvas::PictureFormat::Svg, 1},
    {"PDF (*.pdf)", "pdf", qtcanvas::PictureFormat::Pdf, 1},
}};

} // namespace

QStringList pictureFilters() {
    QStringList texts;
    for (const PictureFilter& filter : filters) {
        texts << QString::fromUtf8(filter.text);
    }
    return texts;
}

int pictureFilterOf(const PictureChoice& choice) {
    for (std::size_t index = 0; index < filters.size(); ++index) {
        if (filters[index].format == choice.format &&
            (choice.format != qtcanvas::PictureFormat::Png ||
             filters[index].scale == choice.scale)) {
            return static_cast<int>(index);
        }
    }
    return 0;
}

QString pictureSuffix(const PictureChoice& choice) {
    return QString::fromLatin1(
        filters[static_cast<std::size_t>(pictureFilterOf(choice))].extension);
}

PictureChoice pictureChoiceFor(const QString& name, int filterIndex) {
    const PictureFilter& filter = filters[static_cast<std::size_t>(
        filterIndex >= 0 && filterIndex < int(filters.size()) ? filterIndex : 0)];
    const std::optional<qtcanvas::PictureFormat> named =
        qtcanvas::pictureFormatOf(QFile::encodeName(name).toStdString());
    if (!named) {
        return {name + QLatin1Char('.') + QLatin1String(filter.extension), filter.format,
                filter.scale};
    }
    return {name, *named, *named == filter.format ? filter.scale : 1};
}

} // namespace orvane::app
