#pragma once

#include <QString>
#include <QStringList>

#include "qtcanvas/picture_file.h"

namespace orvane::app {

// Where and how "Save_Picture…" writes: the file, its format and, for PNG, the scale.
struct PictureChoice {
    QString name;
    qtcanvas::PictureFormat format = qtcanvas::PictureFormat::Png;
    int scale = 1;
};

/// The save dialog's filters in order: PNG at 1, 2 and 4 times, SVG, PDF.
QStringList pictureFilters();
/// The index in pictureFilters() of the filter for the choice's format and scale.
int pictureFilterOf(const PictureChoice& choice);
/// The extension of the choice's format, without the point: "png", "svg" or "pdf".
QString pictureSuffix(const PictureChoice& choice);
/// The picture a name chosen under filter `filterIndex` asks for: an extension of a
/// picture format decides the format (a PNG keeps the filter's scale when the filter is a
/// PNG one, else 1); a name without one gets the filter's extension and format.
PictureChoice pictureChoiceFor(const QString& name, int filterIndex);

} // namespace orvane::app
