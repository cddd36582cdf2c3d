#include "measured/measured_file.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <optional>

#include <sys/stat.h>

#include "measured/content_kind.h"
#include "measured/peak_list.h"
#include "measured/xml_spectra.h"
#include "text/error.h"

namespace orvane::measured {

namespace {

text::Error fileError(const std::string& fileName, int errnoValue) {
    return text::Error(fileName + ": " + text::Error::fromErrno(errnoValue).what());
}

// At most `limit` bytes from the start of the file.
std::string readBytes(const std::string& path, const std::string& fileName, std::size_t limit) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw fileError(fileName, errno);
    }
    std::string bytes;
    char block[64 * 1024];
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof block, limit - bytes.size());
        const std::size_t got = std::fread(block, 1, wanted, file);
        bytes.append(block, got);
        if (got < wanted) {
            break;
        }
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        throw fileError(fileName, error);
    }
    return bytes;
}

MeasuredFile openPeakList(const std::string& path, const std::string& fileName) {
    const std::string text = readBytes(path, fileName, std::numeric_limits<std::size_t>::max());
    Spectrum points = parsePeakList(text, fileName);
    SpectrumSummary summary;
    summary.index = 0;
    summary.id = fileName;
    summary.msLevel = 1;
    summary.pointCount = points.size();
    summary.summedIntensity = summedIntensity(points);
    // a list of m/z and intensity pairs is a list of peaks, whoever picked them
    summary.representation = Representation::Centroid;
    std::vector<Spectrum> stored;
    stored.push_back(std::move(points));
    return MeasuredFile(path, MeasuredFormat::PeakList, {std::move(summary)},
                        std::make_shared<StoredSpectra>(std::move(stored)));
}

} // namespace

MeasuredFile::MeasuredFile(std::string path, MeasuredFormat format,
                           std::vector<SpectrumSummary> spectra,
                           std::shared_ptr<const SpectrumSource> source)
    : m_path(std::move(path)), m_format(format), m_spectra(std::move(spectra)),
      m_source(std::move(source)) {
    assert(!m_spectra.empty() && m_source);
}

std::string MeasuredFile::fileName() const {
    return fileNameOf(m_path);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

MeasuredFile openMeasuredFile(const std::string& path) {
    const std::string fileName = fileNameOf(path);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw fileError(fileName, errno);
    }
    if (S_ISDIR(status.st_mode)) {
        throw text::Error(fileName + ": a directory, not a file");
    }
    switch (detectContent(readBytes(path, fileName, contentHeadSize))) {
    case ContentKind::Empty:
        throw text::Error(fileName + ": the file is empty");
    case ContentKind::Binary:
        throw text::Error(fileName + ": binary data, neither a peak list nor mzML or mzXML");
    case ContentKind::Compressed:
        throw text::Error(fileName + ": a compressed file; unpack it and open what is inside");
    case ContentKind::OtherXml:
        throw text::Error(fileName + ": an XML file, but neither mzML nor mzXML");
    case ContentKind::MzML:
        return openXmlSpectra(path, MeasuredFormat::MzML);
    case ContentKind::MzXML:
        return openXmlSpectra(path, MeasuredFormat::MzXML);
    case ContentKind::Text:
        break;
    }
    return openPeakList(path, fileName);
}

Spectrum loadSpectrum(const MeasuredFile& file, std::size_t index) {
    assert(index < file.spectra().size());
    return file.source().points(index);
}

std::size_t defaultSpectrum(const MeasuredFile& file, double mzLow, double mzHigh) {
    const std::vector<SpectrumSummary>& spectra = file.spectra();
    const auto hasLevel = [&](int level) {
        return std::any_of(spectra.begin(), spectra.end(),
                           [&](const SpectrumSummary& s) { return s.msLevel == level; });
    };
    const std::optional<int> level = hasLevel(1)   ? std::optional<int>(1)
                                     : hasLevel(0) ? std::optional<int>(0)
                                                   : std::nullopt;
    std::optional<std::size_t> best;
    double bestSum = 0;
    for (const SpectrumSummary& summary : spectra) {
        if (level && summary.msLevel != *level) {
            continue;
        }
        const double sum = summedIntensity(loadSpectrum(file, summary.index), mzLow, mzHigh);
        if (!best || sum > bestSum) {
            best = summary.index;
            bestSum = sum;
        }
    }
    assert(best);
    return *best;
}

} // namespace orvane::measured
