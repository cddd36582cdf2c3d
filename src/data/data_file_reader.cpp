#include "data/data_file_reader.h"

#include <cerrno>

#include <sys/stat.h>

#include "text/error.h"

namespace orvane::data {

namespace {
constexpr int endOfData = 0x1A;
constexpr int nothingPeeked = -2;
} // namespace

DataFileReader::DataFileReader(const std::string& path) : m_path(path) {
    errno = 0;
    m_file = std::fopen(path.c_str(), "rb");
    if (m_file == nullptr) {
        throw text::Error::fromErrno(errno);
    }
}

DataFileReader::~DataFileReader() {
    std::fclose(m_file);
}

int DataFileReader::nextByte() {
    if (m_peeked != nothingPeeked) {
        const int byte = m_peeked;
        m_peeked = nothingPeeked;
        return byte;
    }
    if (m_ended) {
        return EOF;
    }
    errno = 0;
    const int byte = std::getc(m_file);
    if (byte == EOF) {
        if (std::ferror(m_file)) {
            throw text::Error::fromErrno(errno);
        }
        m_ended = true;
    } else if (byte == endOfData) {
        // whatever follows the end-of-file character is not data
        m_ended = true;
        return EOF;
    }
    return byte;
}

bool DataFileReader::atEnd() {
    if (m_peeked == nothingPeeked) {
        m_peeked = nextByte();
    }
    return m_peeked == EOF;
}

bool DataFileReader::readLine(std::string& line) {
    line.clear();
    if (atEnd()) {
        return false;
    }
    for (;;) {
        const int byte = nextByte();
        if (byte == EOF || byte == '\n') {
            return true;
        }
        if (byte == '\r') {
            if (atEnd()) {
                return true; // a lone CR is dropped, and the data ends here
            }
            if (m_peeked == '\n') {
                m_peeked = nothingPeeked;
                return true;
            }
            continue; // a CR inside a line is dropped
        }
        line.push_back(static_cast<char>(byte));
    }
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string dataFilePath(const std::string& dataDirectory, const std::string& fileName) {
    return dataDirectory + "/" + fileName;
}

} // namespace orvane::data
