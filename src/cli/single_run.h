#pragma once

#include <functional>
#include <string>

#include "cli/command_options.h"
#include "plot/canvas.h"

namespace orvane::cli {

// The file types of the pictures.
enum class PictureType { Png, Svg, Pdf };

// Draws the pictures orvane-calc writes; the Qt canvases live outside this library, so
// that the rest of orvane-calc is tested without them.
class PictureWriter {
public:
    virtual ~PictureWriter() = default;
    /// Writes the main spectrum picture (782 x 553) drawn by `draw` to `path`; `scale`
    /// applies to PNG. Raises text::Error when it cannot be written.
    virtual void writeSpectrum(const std::string& path, PictureType type, int scale,
                               const std::function<void(plot::Canvas&)>& draw) = 0;
    /// Writes the high-resolution plot drawn by `draw` as PNG.
    virtual void writeHighResolution(const std::string& path, int scale,
                                     const std::function<void(plot::Canvas&)>& draw) = 0;
};

/// Runs one calculation as `commandLine` asks: loads the data files, enters the formula
/// and the counts, writes the report (TAB lines or JSON) to standard output and then the
/// files asked for. Notices and errors go to standard error. Returns the exit status: 0,
/// 1 for an error (text::Error, a file that cannot be written), 2 for a usage error.
int runSingle(const CommandLine& commandLine, PictureWriter& pictures);

} // namespace orvane::cli
