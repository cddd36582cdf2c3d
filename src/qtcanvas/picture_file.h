#pragma once

#include <functional>
#include <optional>
#include <string>

#include "plot/canvas.h"

namespace orvane::qtcanvas {

// The kinds of picture file: a bitmap at 1, 2 or 4 image pixels per drawing pixel, and two
// vector formats drawn from the same code through QPainter.
enum class PictureFormat { Png, Svg, Pdf };

/// The format a file name asks for by its extension (.png, .svg, .pdf, any case); nothing
/// otherwise.
std::optional<PictureFormat> pictureFormatOf(const std::string& path);

/// The encoded bytes of a picture of width x height logical pixels drawn by `draw`; `scale` (1, 2,
/// 4) applies to PNG only. A PNG at scale 1 is the ImageCanvas picture itself. Raises text::Error
/// for another scale, an empty size or a picture that cannot be encoded; an exception from `draw`
/// is passed on.
std::string encodePicture(PictureFormat format, int width, int height, int scale,
                          const std::function<void(plot::Canvas&)>& draw);

/// encodePicture written through exporting::writeFileAtomically (src/export/safe_file_writer.h), so
/// a failed write (full disk, /dev/full) raises text::Error and leaves the old file whole. The
/// picture is drawn before the file is touched, so a failed drawing leaves it as well.
void savePicture(const std::string& path, PictureFormat format, int width, int height, int scale,
                 const std::function<void(plot::Canvas&)>& draw);

} // namespace orvane::qtcanvas
