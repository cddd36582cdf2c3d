#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "measured/peak_list.h"
#include "measured/spectrum.h"
#include "measured/spectrum_source.h"

namespace orvane::measured {

enum class MeasuredFormat { PeakList, MzML, MzXML };

// How the points were recorded, as the file states it; peak lists are stick lists.
enum class Representation { Centroid, Profile, Unknown };

// What the spectrum list shows of one spectrum; the points themselves are read on demand.
struct SpectrumSummary {
    std::size_t index = 0; // 0-based position in the file
    std::string id;        // the native id ("scan=12"); a peak list's file name
    int msLevel = 0;       // 0 when the file does not say
    std::optional<double> retentionTimeSeconds;
    std::size_t pointCount = 0;
    double summedIntensity = 0;
    Representation representation = Representation::Unknown;
    // Where the points lie and the tallest of them; nothing for an empty spectrum.
    std::optional<double> mzLow, mzHigh;
    std::optional<double> basePeakMz, basePeakIntensity;
    // Why the spectrum's points cannot be read (a point at m/z 0 among them), naming file,
    // spectrum and point; "" when they can. The file's other spectra are read all the same.
    std::string problem;
};

/// Fills the summary's point count, summed intensity, m/z range and base peak (the tallest
/// point, the lowest m/z among equals) from the points.
void summarisePoints(const Spectrum& points, SpectrumSummary& summary);

// An opened measured file: the summaries of its spectra and the source of their points.
// Copies share the source.
class MeasuredFile {
public:
    MeasuredFile(std::string path, MeasuredFormat format, std::vector<SpectrumSummary> spectra,
                 std::shared_ptr<const SpectrumSource> source);

    /// The path the file was opened with.
    const std::string& path() const { return m_path; }
    /// The last component of the path, as messages name the file.
    std::string fileName() const;
    /// The format found from the file's content.
    MeasuredFormat format() const { return m_format; }
    /// The spectra in file order; never empty.
    const std::vector<SpectrumSummary>& spectra() const { return m_spectra; }
    /// The source of the points, for loadSpectrum.
    const SpectrumSource& source() const { return *m_source; }

private:
    std::string m_path;
    MeasuredFormat m_format;
    std::vector<SpectrumSummary> m_spectra;
    std::shared_ptr<const SpectrumSource> m_source;
};

// What a measured file may make the reader hold.
struct ReadLimits {
    // A pipe, FIFO or device is read once, into memory, and refused above this.
    std::size_t streamBytes = std::size_t(1) << 30;
    std::size_t peakListSearchBytes = measured::peakListSearchBytes;
    std::size_t maxPoints = maxSpectrumPoints; // in one spectrum
};

/// Opens a peak list, mzML or mzXML file, recognised by its content rather than its name,
/// and summarises every spectrum. A pipe (/dev/stdin, a shell's <(...)), FIFO or device is
/// read only once: a peak list as it comes, mzML and mzXML into memory first. Raises
/// text::Error naming the file and what is wrong when it cannot be read, holds no
/// spectrum, is of no known format or goes beyond `limits`.
MeasuredFile openMeasuredFile(const std::string& path, const ReadLimits& limits = {});

/// The points of spectrum `index` (< file.spectra().size()), sorted by m/z; raises
/// text::Error when the file can no longer be read.
Spectrum loadSpectrum(const MeasuredFile& file, std::size_t index);

/// The spectrum to show first: among the MS1 spectra (those of unknown MS level when there is
/// no MS1, every spectrum when there is neither) the one with the largest summed intensity at
/// mzLow <= m/z <= mzHigh, the lowest index on a tie. Reads the points of those spectra.
std::size_t defaultSpectrum(const MeasuredFile& file, double mzLow, double mzHigh);

/// The file name part of a path (everything after the last '/').
std::string fileNameOf(const std::string& path);

} // namespace orvane::measured
