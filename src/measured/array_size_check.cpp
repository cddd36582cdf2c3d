#include "measured/array_size_check.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "text/error.h"

namespace orvane::measured {
namespace {

constexpr std::size_t blockSize = 1 << 20;
constexpr std::size_t maxTagSize = 1 << 16; // a tag longer than this is not looked into

// The value of attribute `name` in the text of a start tag, as written.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view name) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos;
         at = tag.find(name, at + 1)) {
        const bool starts = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' ||
                                       tag[at - 1] == '\n' || tag[at - 1] == '\r');
        std::size_t quote = at + name.size();
        while (quote < tag.size() && tag[quote] == ' ') {
            ++quote;
        }
        if (!starts || quote >= tag.size() || tag[quote] != '=') {
            continue;
        }
        ++quote;
        while (quote < tag.size() && tag[quote] == ' ') {
            ++quote;
        }
        if (quote >= tag.size() || (tag[quote] != '"' && tag[quote] != '\'')) {
            continue;
        }
        const std::size_t end = tag.find(tag[quote], quote + 1);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        return tag.substr(quote + 1, end - quote - 1);
    }
    return std::nullopt;
}

// A count attribute read as a whole number; saturates instead of overflowing.
std::size_t countOf(std::string_view digits) {
    std::size_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value > (SIZE_MAX - 9) / 10 ? SIZE_MAX : value * 10 + std::size_t(c - '0');
    }
    return value;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    return c == '+' ? 62 : c == '/' ? 63 : -1;
}

// How one array is stored, from its binaryDataArray's parameters or its peaks attributes.
struct ArrayEncoding {
    std::size_t bytesPerPoint = 8;
    bool zlib = false;
    bool numpress = false; // up to two points a byte
};

// Counts the bytes an array's base64 text decodes to, inflating it when it is compressed,
// and stops counting once `limit` is passed.
class ArrayCounter {
public:
    ArrayCounter(const ArrayEncoding& encoding, std::size_t limit)
        : m_zlib(encoding.zlib), m_limit(limit) {
        if (m_zlib) {
            m_output = std::make_unique<unsigned char[]>(outputSize);
            m_inflating = inflateInit(&m_stream) == Z_OK;
        }
    }
    ~ArrayCounter() {
        if (m_inflating) {
            inflateEnd(&m_stream);
        }
    }
    ArrayCounter(const ArrayCounter&) = delete;
    ArrayCounter& operator=(const ArrayCounter&) = delete;

    void add(std::string_view base64) {
        for (const char c : base64) {
            const int value = base64Value(c);
            if (value < 0) {
                continue; // blanks, padding
            }
            m_bits = m_bits << 6 | static_cast<unsigned>(value);
            m_bitCount += 6;
            if (m_bitCount >= 8) {
                m_bitCount -= 8;
                m_pending[m_pendingSize++] = static_cast<unsigned char>(m_bits >> m_bitCount);
                if (m_pendingSize == sizeof m_pending) {
                    flush();
                }
            }
        }
    }
    /// The decoded bytes, or more than the limit once that is passed.
    std::size_t finish() {
        flush();
        return m_count;
    }
    bool overLimit() const { return m_count > m_limit; }

private:
    static constexpr std::size_t outputSize = 1 << 16;

    void flush() {
        const std::size_t size = std::exchange(m_pendingSize, 0);
        if (overLimit()) {
            return;
        }
        if (!m_zlib) {
            m_count += size;
            return;
        }
        if (!m_inflating) {
            return; // what zlib cannot read, the reader refuses with its own words
        }
        m_stream.next_in = m_pending;
        m_stream.avail_in = static_cast<uInt>(size);
        // also while the output fills up: zlib may hold more than it has room to give
        do {
            m_stream.next_out = m_output.get();
            m_stream.avail_out = outputSize;
            const int status = inflate(&m_stream, Z_NO_FLUSH);
            m_count += outputSize - m_stream.avail_out;
            if (status == Z_BUF_ERROR) {
                return; // wants more input
            }
            if (status != Z_OK) {
                inflateEnd(&m_stream); // the end, or what the reader refuses in its own words
                m_inflating = false;
                return;
            }
        } while ((m_stream.avail_in > 0 || m_stream.avail_out == 0) && !overLimit());
    }

    bool m_zlib;
    std::size_t m_limit;
    std::size_t m_count = 0;
    unsigned m_bits = 0;
    int m_bitCount = 0;
    unsigned char m_pending[4096];
    std::size_t m_pendingSize = 0;
    z_stream m_stream{};
    bool m_inflating = false;
    std::unique_ptr<unsigned char[]> m_output;
};

// Walks the tags of the document, block by block.
class ArrayScan {
public:
    ArrayScan(const std::string& fileName, MeasuredFormat format, std::size_t maxPoints)
        : m_fileName(fileName), m_mzXml(format == MeasuredFormat::MzXML), m_maxPoints(maxPoints) {}

    void read(std::string_view bytes) {
        while (!bytes.empty()) {
            if (m_counter) {
                const std::size_t end = bytes.find('<');
                m_counter->add(bytes.substr(0, end));
                if (m_counter->overLimit()) {
                    refuse();
                }
                if (end == std::string_view::npos) {
                    return;
                }
                endArray();
                bytes.remove_prefix(end);
            } else if (m_inTag) {
                const std::size_t end = bytes.find('>');
                if (m_tag.size() < maxTagSize) {
                    m_tag.append(bytes.substr(0, std::min(end, maxTagSize - m_tag.size())));
                }
                if (end == std::string_view::npos) {
                    return;
                }
                m_inTag = false;
                bytes.remove_prefix(end + 1);
                tag();
            } else {
                const std::size_t start = bytes.find('<');
                if (start == std::string_view::npos) {
                    return;
                }
                m_inTag = true;
                m_tag.clear();
                bytes.remove_prefix(start + 1);
            }
        }
    }

private:
    void tag() {
        const std::size_t nameEnd = m_tag.find_first_of(" \t\r\n/", 1); // "/x" closes x
        const std::string_view name = std::string_view(m_tag).substr(0, nameEnd);
        if (name == (m_mzXml ? "scan" : "spectrum")) {
            ++m_spectrum;
            m_inSpectrum = true;
            m_id = std::string(attribute(m_tag, m_mzXml ? "num" : "id").value_or(""));
            if (countOf(
                    attribute(m_tag, m_mzXml ? "peaksCount" : "defaultArrayLength").value_or("")) >
                m_maxPoints) {
                refuse();
            }
        } else if (!m_mzXml && name == "binaryDataArray") {
            m_encoding = {};
        } else if (!m_mzXml && name == "cvParam") {
            const std::string_view accession = attribute(m_tag, "accession").value_or("");
            if (accession == "MS:1000521" || accession == "MS:1000519") {
                m_encoding.bytesPerPoint = 4;
            } else if (accession == "MS:1000574") {
                m_encoding.zlib = true;
            } else if (accession == "MS:1002312" || accession == "MS:1002313" ||
                       accession == "MS:1002314") {
                m_encoding.numpress = true;
            } else if (accession == "MS:1002746" || accession == "MS:1002747" ||
                       accession == "MS:1002748") {
                m_encoding.numpress = true;
                m_encoding.zlib = true;
            }
        } else if (!m_mzXml && name == "binary" && m_inSpectrum && !m_tag.ends_with('/')) {
            if (m_encoding.numpress) {
                startArray(1, 2);
            } else {
                startArray(m_encoding.bytesPerPoint, 1);
            }
        } else if (m_mzXml && name == "peaks" && m_inSpectrum && !m_tag.ends_with('/')) {
            const std::string_view precision = attribute(m_tag, "precision").value_or("32");
            m_encoding = {};
            m_encoding.zlib = attribute(m_tag, "compressionType").value_or("") == "zlib";
            // an m/z and an intensity a point
            startArray(2 * (precision == "64" ? 8 : 4), 1);
        } else if (name == (m_mzXml ? "/msRun" : "/spectrumList")) {
            m_inSpectrum = false; // chromatograms and indexes are not read
        }
    }

    // Points are bytes * pointsPer / bytesPer.
    void startArray(std::size_t bytesPer, std::size_t pointsPer) {
        m_bytesPer = bytesPer;
        m_pointsPer = pointsPer;
        const std::size_t limit =
            m_maxPoints > SIZE_MAX / bytesPer ? SIZE_MAX : m_maxPoints * bytesPer / pointsPer;
        m_counter.emplace(m_encoding, limit);
    }

    void endArray() {
        const std::size_t bytes = m_counter->finish();
        const bool over = m_counter->overLimit();
        m_counter.reset();
        if (over || bytes / m_bytesPer * m_pointsPer > m_maxPoints) {
            refuse();
        }
    }

    [[noreturn]] void refuse() const {
        throw text::Error(m_fileName + ", spectrum " + std::to_string(m_spectrum - 1) +
                          (m_id.empty() ? "" : " (" + m_id + ")") + ": more than " +
                          std::to_string(m_maxPoints) +
                          " points; a spectrum holds at most that many");
    }

    const std::string& m_fileName;
    bool m_mzXml;
    std::size_t m_maxPoints;
    bool m_inTag = false;
    std::string m_tag;
    std::size_t m_spectrum = 0; // spectra begun; the messages count from 0, as the index does
    bool m_inSpectrum = false;
    std::string m_id;
    ArrayEncoding m_encoding;
    std::optional<ArrayCounter> m_counter;
    std::size_t m_bytesPer = 8;
    std::size_t m_pointsPer = 1;
};

} // namespace

void refuseOversizedArrays(const std::string& path, const std::string& fileName,
                           MeasuredFormat format, std::size_t maxPoints) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw text::Error(fileName + ": " + text::Error::fromErrno(errno).what());
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);
    ArrayScan scan(fileName, format, maxPoints);
    const auto block = std::make_unique<char[]>(blockSize);
    for (;;) {
        const std::size_t got = std::fread(block.get(), 1, blockSize, file);
        if (got == 0) {
            if (std::ferror(file) != 0) {
                throw text::Error(fileName + ": " + text::Error::fromErrno(errno).what());
            }
            return;
        }
        scan.read(std::string_view(block.get(), got));
    }
}

} // namespace orvane::measured
