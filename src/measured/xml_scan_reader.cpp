#include "measured/xml_scan_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>

#include "pwiz/data/msdata/MSData.hpp"
#include "pwiz/data/msdata/Serializer_mzML.hpp"
#include "pwiz/data/msdata/Serializer_mzXML.hpp"

#include "measured/array_size_check.h"
#include "measured/content_kind.h"
#include "measured/file_window_stream.h"
#include "text/error.h"

namespace orvane::measured {

namespace {

namespace msdata = pwiz::msdata;

// ProteoWizard's messages start with the throwing function in brackets, which says nothing
// to the user: "[SpectrumList_mzML::create()] Bad istream." becomes "Bad istream.".
std::string plainMessage(const char* what) {
    std::string_view message = what;
    while (message.starts_with('[')) {
        const std::size_t close = message.find(']');
        if (close == std::string_view::npos) {
            break;
        }
        message.remove_prefix(close + 1);
        while (message.starts_with(' ')) {
            message.remove_prefix(1);
        }
    }
    return message.empty() ? std::string(what) : std::string(message);
}

std::string formatName(MeasuredFormat format) {
    return format == MeasuredFormat::MzXML ? "mzXML" : "mzML";
}

std::FILE* openOrRaise(const std::string& path, const std::string& fileName) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw text::Error(fileName + ": " + text::Error::fromErrno(errno).what());
    }
    return file;
}

struct FileCloser {
    std::FILE* file;
    ~FileCloser() { std::fclose(file); }
};

std::string readHead(const std::string& path, const std::string& fileName) {
    std::FILE* file = openOrRaise(path, fileName);
    const FileCloser closer{file};
    std::string head(contentHeadSize, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file));
    return head;
}

// The offset of the last `needle` in the file, searched backwards in blocks: the closing tags
// looked for sit near the end.
std::optional<std::streamoff> lastOffsetOf(const std::string& path, const std::string& fileName,
                                           std::string_view needle) {
    std::FILE* file = openOrRaise(path, fileName);
    const FileCloser closer{file};
    const auto raise = [&] {
        throw text::Error(fileName + ": " + text::Error::fromErrno(errno).what());
    };
    if (::fseeko(file, 0, SEEK_END) != 0) {
        raise();
    }
    constexpr std::streamoff blockSize = 1 << 20;
    const auto overlap = static_cast<std::streamoff>(needle.size()) - 1;
    std::string block;
    std::streamoff end = ::ftello(file);
    while (end > 0) {
        const std::streamoff begin = std::max<std::streamoff>(0, end - blockSize);
        block.assign(static_cast<std::size_t>(end - begin), '\0');
        if (::fseeko(file, begin, SEEK_SET) != 0 ||
            std::fread(block.data(), 1, block.size(), file) != block.size()) {
            raise();
        }
        const std::size_t at = block.rfind(needle);
        if (at != std::string::npos) {
            return begin + static_cast<std::streamoff>(at);
        }
        // the next block overlaps this one, so that a tag across the boundary is seen whole
        end = begin == 0 ? 0 : begin + overlap;
    }
    return std::nullopt;
}

std::optional<int> msLevelOf(const msdata::Spectrum& spectrum) {
    const msdata::CVParam level = spectrum.cvParam(msdata::MS_ms_level);
    if (!level.empty()) {
        try {
            return level.valueAs<int>();
        } catch (const std::exception&) {
            return std::nullopt; // an unreadable level is an unknown one
        }
    }
    if (spectrum.hasCVParam(msdata::MS_MS1_spectrum)) {
        return 1;
    }
    return std::nullopt;
}

std::optional<double> retentionTimeOf(const msdata::Spectrum& spectrum) {
    if (spectrum.scanList.scans.empty()) {
        return std::nullopt;
    }
    const msdata::CVParam time =
        spectrum.scanList.scans.front().cvParam(msdata::MS_scan_start_time);
    if (time.empty()) {
        return std::nullopt;
    }
    try {
        return time.timeInSeconds();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

Representation representationOf(const msdata::Spectrum& spectrum) {
    if (spectrum.hasCVParam(msdata::MS_centroid_spectrum)) {
        return Representation::Centroid;
    }
    if (spectrum.hasCVParam(msdata::MS_profile_spectrum)) {
        return Representation::Profile;
    }
    return Representation::Unknown;
}

// The points of a spectrum read with its binary data; `where` names the file and spectrum.
Spectrum pointsOf(const msdata::Spectrum& spectrum, const std::string& where) {
    const msdata::BinaryDataArrayPtr mz = spectrum.getMZArray();
    const msdata::BinaryDataArrayPtr intensity = spectrum.getIntensityArray();
    Spectrum points;
    if (!mz && !intensity) {
        if (spectrum.defaultArrayLength != 0) {
            throw text::Error(where + ": the m/z and intensity arrays are missing");
        }
        return points;
    }
    if (!mz || !intensity) {
        throw text::Error(where +
                          (mz ? ": the intensity array is missing" : ": the m/z array is missing"));
    }
    if (mz->data.size() != intensity->data.size()) {
        throw text::Error(where + ": " + std::to_string(mz->data.size()) + " m/z values but " +
                          std::to_string(intensity->data.size()) + " intensities");
    }
    points.mz.assign(mz->data.begin(), mz->data.end());
    points.intensity.assign(intensity->data.begin(), intensity->data.end());
    requireValidPoints(points, where);
    sortByMz(points);
    return points;
}

std::string spectrumPlace(const std::string& fileName, std::size_t index, const std::string& id) {
    // counted from 0, as the file's own index and --spectrum count
    return fileName + ", spectrum " + std::to_string(index) + (id.empty() ? "" : " (" + id + ")");
}

// The points of the spectra, read from the file on demand through ProteoWizard's list.
class PwizSpectra : public SpectrumSource {
public:
    PwizSpectra(std::string fileName, boost::shared_ptr<msdata::MSData> data)
        : m_fileName(std::move(fileName)), m_data(std::move(data)) {}

    Spectrum points(std::size_t index) const override {
        const msdata::SpectrumList& list = *m_data->run.spectrumListPtr;
        try {
            const msdata::SpectrumPtr spectrum = list.spectrum(index, true);
            return pointsOf(*spectrum, spectrumPlace(m_fileName, index, spectrum->id));
        } catch (const text::Error&) {
            throw;
        } catch (const std::exception& failure) {
            throw text::Error(spectrumPlace(m_fileName, index, {}) +
                              ": cannot be read: " + plainMessage(failure.what()));
        }
    }

private:
    std::string m_fileName;
    boost::shared_ptr<msdata::MSData> m_data; // owns the spectrum list and its open stream
};

// A read whose spectrum list does not agree with itself: the index pointed elsewhere.
struct InconsistentIndex : std::runtime_error {
    InconsistentIndex() : std::runtime_error("the index does not match the spectra") {}
};

struct Opened {
    std::vector<SpectrumSummary> spectra;
    boost::shared_ptr<msdata::MSData> data;
};

// One attempt at reading the file through ProteoWizard; any failure leaves as an exception.
Opened readThrough(boost::shared_ptr<std::istream> stream, MeasuredFormat format, bool indexed,
                   const std::string& fileName) {
    if (!*stream) {
        throw text::Error(fileName + ": " + text::Error::fromErrno(errno).what());
    }
    Opened opened;
    opened.data = boost::make_shared<msdata::MSData>();
    if (format == MeasuredFormat::MzXML) {
        msdata::Serializer_mzXML::Config config;
        config.indexed = indexed;
        msdata::Serializer_mzXML(config).read(stream, *opened.data);
    } else {
        msdata::Serializer_mzML::Config config;
        config.indexed = indexed;
        msdata::Serializer_mzML(config).read(stream, *opened.data);
    }
    const msdata::SpectrumListPtr list = opened.data->run.spectrumListPtr;
    if (!list || list->size() == 0) {
        return opened;
    }
    const std::size_t count = list->size();
    opened.spectra.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        msdata::SpectrumPtr spectrum;
        try {
            spectrum = list->spectrum(i, true);
        } catch (const std::exception& failure) {
            // still a failure of the reader, so that a read without the index is tried
            throw std::runtime_error("spectrum " + std::to_string(i) + ": " +
                                     plainMessage(failure.what()));
        }
        if (spectrum->index != i) {
            throw InconsistentIndex();
        }
        SpectrumSummary summary;
        summary.index = i;
        summary.id = spectrum->id;
        summary.msLevel = msLevelOf(*spectrum).value_or(0);
        summary.retentionTimeSeconds = retentionTimeOf(*spectrum);
        try {
            summarisePoints(pointsOf(*spectrum, spectrumPlace(fileName, i, spectrum->id)), summary);
        } catch (const text::Error& error) {
            // one bad spectrum (a point at m/z 0) is refused alone; the others stand
            summary.problem = error.what();
        }
        summary.representation = representationOf(*spectrum);
        opened.spectra.push_back(std::move(summary));
    }
    // ProteoWizard rebuilds a wrong index behind our back by appending to it
    if (list->size() != count) {
        throw InconsistentIndex();
    }
    return opened;
}

// True when the mzML start tag at `start` of the file's head is of a 0.99 draft: its
// version or its schema's name says so.
bool isDraftMzml(const std::string& head, std::size_t start) {
    if (start == std::string::npos) {
        return false;
    }
    const std::size_t end = head.find('>', start);
    const std::string tag = head.substr(start, end == std::string::npos ? end : end - start);
    return tag.find("version=\"0.99") != std::string::npos ||
           tag.find("version='0.99") != std::string::npos ||
           tag.find("mzML_0.99") != std::string::npos;
}

} // namespace

MeasuredFile openXmlSpectra(const std::string& path, MeasuredFormat format,
                            const std::string& shownPath, std::size_t maxPoints) {
    const std::string fileName = fileNameOf(shownPath.empty() ? path : shownPath);
    const bool mzXml = format == MeasuredFormat::MzXML;

    // A file cut short is refused up front: the reader would stop quietly at the last whole
    // spectrum, or fail with a message about XML parsing.
    if (!lastOffsetOf(path, fileName, mzXml ? "</msRun>" : "</spectrumList>")) {
        // a whole document without a list end has an empty list, "<spectrumList count="0"/>"
        if (!mzXml && lastOffsetOf(path, fileName, "</mzML>")) {
            throw text::Error(fileName + ": the file holds no spectra");
        }
        throw text::Error(fileName + (mzXml ? ": the XML ends before the scan list is closed"
                                            : ": the XML ends before the spectrum list is closed"));
    }

    // before ProteoWizard decodes an array it cannot hold
    refuseOversizedArrays(path, fileName, format, maxPoints);

    const std::string head = readHead(path, fileName);
    const std::size_t mzmlStart = head.find("<mzML");
    const std::size_t indexedStart = head.find("<indexedmzML");
    const bool indexed = mzXml || indexedStart < mzmlStart;

    std::optional<Opened> opened;
    std::string failure;
    try {
        opened = readThrough(boost::make_shared<std::ifstream>(path, std::ios::binary), format,
                             indexed, fileName);
    } catch (const text::Error&) {
        throw;
    } catch (const std::exception& error) {
        failure = plainMessage(error.what());
    }
    if (!opened && indexed) {
        // Read again without the index: an mzXML by scanning it, an indexedmzML as the plain
        // mzML inside it, cut off before the index so that the reader builds its own.
        try {
            boost::shared_ptr<std::istream> stream;
            if (mzXml) {
                stream = boost::make_shared<std::ifstream>(path, std::ios::binary);
            } else if (const auto mzmlEnd = lastOffsetOf(path, fileName, "</mzML>");
                       mzmlEnd && mzmlStart != std::string::npos) {
                const std::streamoff end =
                    *mzmlEnd + static_cast<std::streamoff>(std::string_view("</mzML>").size());
                stream = boost::make_shared<FileWindowStream>(
                    path, static_cast<std::streamoff>(mzmlStart), end);
            }
            if (stream) {
                opened = readThrough(stream, format, false, fileName);
            }
        } catch (const text::Error&) {
            throw;
        } catch (const std::exception& error) {
            failure = plainMessage(error.what());
        }
    }
    if (!opened) {
        // the drafts before mzML 1.0 name elements the reader does not know
        if (!mzXml && isDraftMzml(head, mzmlStart)) {
            throw text::Error(fileName +
                              ": mzML 0.99 files are not supported; convert with msconvert");
        }
        throw text::Error(fileName + ": not a readable " + formatName(format) + " file (" +
                          failure + ")");
    }
    if (opened->spectra.empty()) {
        throw text::Error(fileName + ": the file holds no spectra");
    }
    auto source = std::make_shared<PwizSpectra>(fileName, opened->data);
    return MeasuredFile(shownPath.empty() ? path : shownPath, format, std::move(opened->spectra),
                        std::move(source));
}

} // namespace orvane::measured
