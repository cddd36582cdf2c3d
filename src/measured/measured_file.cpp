#include "measured/measured_file.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>

#include <sys/mman.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "measured/content_kind.h"
#include "measured/gzip_stream.h"
#include "measured/peak_list.h"
#include "measured/profile_shape.h"
#include "measured/xml_scan_reader.h"
#include "text/byte_size_text.h"
#include "text/error.h"

namespace orvane::measured {

namespace {

text::Error fileError(const std::string& fileName, int errnoValue) {
    return text::Error(fileName + ": " + text::Error::fromErrno(errnoValue).what());
}

// What a pipe opened without waiting holds first, so that one no one writes to is refused
// instead of waited on: a byte read, nothing when a writer is there but has not written yet
// (or for a file, which is read as it is). A writer that is about to open it is given a
// second; then the pipe is closed and refused, naming the file.
std::optional<char> firstByteOfPipe(int descriptor, const std::string& fileName) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISFIFO(status.st_mode)) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        char byte = 0;
        const ssize_t got = ::read(descriptor, &byte, 1);
        if (got == 1) {
            return byte;
        }
        if (got < 0 && errno == EAGAIN) {
            return std::nullopt; // a writer holds it open: its bytes are waited for
        }
        if (got < 0 && errno != EINTR) {
            const int error = errno;
            ::close(descriptor);
            throw fileError(fileName, error);
        }
        if (got == 0 && attempt == 0) {
            pollfd wait{descriptor, POLLIN, 0};
            ::poll(&wait, 1, 1000);
        }
    }
    ::close(descriptor);
    throw text::Error(fileName + ": a pipe that no one writes to");
}

// A file open for reading, closed with it.
class OpenFile {
public:
    OpenFile(const std::string& path, const std::string& fileName) : m_fileName(fileName) {
        errno = 0;
        // without waiting: a named pipe that no one writes to would hold the open for ever
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) {
            throw fileError(fileName, errno);
        }
        const std::optional<char> first = firstByteOfPipe(descriptor, fileName);
        const int flags = ::fcntl(descriptor, F_GETFL);
        if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) < 0 ||
            (m_file = ::fdopen(descriptor, "rb")) == nullptr) {
            const int error = errno;
            ::close(descriptor);
            throw fileError(fileName, error);
        }
        if (first) {
            std::ungetc(static_cast<unsigned char>(*first), m_file);
        }
    }
    ~OpenFile() { std::fclose(m_file); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    /// Up to `limit` bytes more, fewer only at the end; raises text::Error on a read error.
    std::string read(std::size_t limit) {
        std::string bytes(limit, '\0');
        std::size_t got = 0;
        while (got < limit) {
            const std::size_t more = std::fread(bytes.data() + got, 1, limit - got, m_file);
            got += more;
            if (more == 0) {
                if (std::ferror(m_file) != 0) {
                    throw fileError(m_fileName, errno);
                }
                break;
            }
        }
        bytes.resize(got);
        return bytes;
    }

private:
    std::string m_fileName;
    std::FILE* m_file = nullptr;
};

constexpr std::size_t blockSize = 64 * 1024;

// A peak list read as it comes, the bytes of `head` first.
MeasuredFile openPeakList(const std::string& path, const std::string& fileName,
                          const std::string& head, OpenFile& file, const ReadLimits& limits) {
    PeakListReader reader(fileName, limits.peakListSearchBytes, limits.maxPoints);
    reader.read(head);
    for (std::string block = file.read(blockSize); !block.empty(); block = file.read(blockSize)) {
        reader.read(block);
    }
    Spectrum points = reader.finish();
    SpectrumSummary summary;
    summary.index = 0;
    summary.id = fileName;
    summary.msLevel = 1;
    summarisePoints(points, summary);
    // a list of m/z and intensity pairs is a list of peaks, unless it holds a profile scan
    // written out point by point
    summary.representation =
        looksLikeProfile(points) ? Representation::Profile : Representation::Centroid;
    std::vector<Spectrum> stored;
    stored.push_back(std::move(points));
    return MeasuredFile(path, MeasuredFormat::PeakList, {std::move(summary)},
                        std::make_shared<StoredSpectra>(std::move(stored)));
}

// A file in memory that the XML reader can open by name, as it opens a file again for
// each of its passes; it is gone once nothing holds it open.
class MemoryFile {
public:
    explicit MemoryFile(const std::string& fileName) {
        m_descriptor = ::memfd_create("orvane-measured", MFD_CLOEXEC);
        if (m_descriptor < 0) {
            throw fileError(fileName, errno);
        }
    }
    ~MemoryFile() { ::close(m_descriptor); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void write(std::string_view bytes, const std::string& fileName) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw fileError(fileName, errno);
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    /// A path that opens the file anew.
    std::string path() const { return "/proc/self/fd/" + std::to_string(m_descriptor); }

private:
    int m_descriptor = -1;
};

// The XML of a pipe or device, copied into memory (at most limits.streamBytes) and read
// from there.
MeasuredFile openStreamedXml(const std::string& path, MeasuredFormat format,
                             const std::string& head, OpenFile& file, const ReadLimits& limits) {
    const std::string fileName = fileNameOf(path);
    MemoryFile copy(fileName);
    std::size_t total = 0;
    for (std::string block = head; !block.empty(); block = file.read(blockSize)) {
        total += block.size();
        if (total > limits.streamBytes) {
            throw text::Error(fileName + ": more than " + text::byteSizeText(limits.streamBytes) +
                              " through a pipe; save it to a file and open that");
        }
        copy.write(block, fileName);
    }
    return openXmlSpectra(copy.path(), format, path, limits.maxPoints);
}

// A gzip file or pipe, unpacked into memory (at most limits.streamBytes) and read from
// there as what it holds: mzML, mzXML or a peak list.
MeasuredFile openGzipped(const std::string& path, const std::string& head, OpenFile& file,
                         const ReadLimits& limits) {
    const std::string fileName = fileNameOf(path);
    MemoryFile copy(fileName);
    std::string first = head;
    std::string unpackedHead;
    inflateGzip(
        [&] {
            std::string block = first.empty() ? file.read(blockSize) : std::move(first);
            first.clear();
            return block;
        },
        [&](std::string_view bytes) {
            if (unpackedHead.size() < contentHeadSize) {
                unpackedHead.append(bytes.substr(0, contentHeadSize - unpackedHead.size()));
            }
            copy.write(bytes, fileName);
        },
        fileName, limits.streamBytes);
    switch (detectContent(unpackedHead)) {
    case ContentKind::MzML:
        return openXmlSpectra(copy.path(), MeasuredFormat::MzML, path, limits.maxPoints);
    case ContentKind::MzXML:
        return openXmlSpectra(copy.path(), MeasuredFormat::MzXML, path, limits.maxPoints);
    case ContentKind::Text: {
        OpenFile unpacked(copy.path(), fileName);
        const std::string textHead = unpacked.read(contentHeadSize);
        return openPeakList(path, fileName, textHead, unpacked, limits);
    }
    case ContentKind::Empty:
        throw text::Error(fileName + ": the compressed file holds nothing");
    default:
        throw text::Error(fileName +
                          ": a compressed file that holds neither a peak list nor mzML or mzXML");
    }
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

MeasuredFile openMeasuredFile(const std::string& path, const ReadLimits& limits) {
    const std::string fileName = fileNameOf(path);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw fileError(fileName, errno);
    }
    if (S_ISDIR(status.st_mode)) {
        throw text::Error(fileName + ": a directory, not a file");
    }
    // a device or socket may never end or never answer; a file or a pipe is read
    if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) {
        throw text::Error(fileName + ": neither a file nor a pipe");
    }
    // one open for everything, so that a pipe is read once
    OpenFile file(path, fileName);
    const std::string head = file.read(contentHeadSize);
    const bool regular = S_ISREG(status.st_mode);
    switch (detectContent(head)) {
    case ContentKind::Empty:
        if (!regular) {
            throw text::Error(fileName + ": a pipe that nothing was written to");
        }
        throw text::Error(fileName + ": the file is empty");
    case ContentKind::Binary:
        throw text::Error(fileName + ": binary data, neither a peak list nor mzML or mzXML");
    case ContentKind::Compressed:
        // gzip is read as it is ("run.mzML.gz"); other packers are left to the user
        if (isGzip(head)) {
            return openGzipped(path, head, file, limits);
        }
        throw text::Error(fileName + ": a compressed file; unpack it and open what is inside");
    case ContentKind::OtherXml:
        throw text::Error(fileName + ": an XML file, but neither mzML nor mzXML");
    case ContentKind::MzML:
    case ContentKind::MzXML: {
        const MeasuredFormat format =
            detectContent(head) == ContentKind::MzML ? MeasuredFormat::MzML : MeasuredFormat::MzXML;
        return regular ? openXmlSpectra(path, format, {}, limits.maxPoints)
                       : openStreamedXml(path, format, head, file, limits);
    }
    case ContentKind::Text:
        break;
    }
    return openPeakList(path, fileName, head, file, limits);
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
        if ((level && summary.msLevel != *level) || !summary.problem.empty()) {
            continue;
        }
        const double sum = summedIntensity(loadSpectrum(file, summary.index), mzLow, mzHigh);
        if (!best || sum > bestSum) {
            best = summary.index;
            bestSum = sum;
        }
    }
    // every spectrum refused: the first, whose loading names why
    return best.value_or(0);
}

void summarisePoints(const Spectrum& points, SpectrumSummary& summary) {
    summary.pointCount = points.size();
    summary.summedIntensity = summedIntensity(points);
    if (points.size() == 0) {
        return;
    }
    const auto [low, high] = std::minmax_element(points.mz.begin(), points.mz.end());
    summary.mzLow = *low;
    summary.mzHigh = *high;
    std::size_t tallest = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points.intensity[i] > points.intensity[tallest] ||
            (points.intensity[i] == points.intensity[tallest] &&
             points.mz[i] < points.mz[tallest])) {
            tallest = i;
        }
    }
    summary.basePeakMz = points.mz[tallest];
    summary.basePeakIntensity = points.intensity[tallest];
}

} // namespace orvane::measured
