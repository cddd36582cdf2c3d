#pragma once

#include <cstdio>
#include <string>

namespace orvane::data {

// Reads a data file line by line as single-byte text: a line ends at LF or CR LF, a
// CR not followed by LF is dropped, the character 0x1A ends the data, and a line may
// be of any length. Input/output failures raise text::Error::fromErrno.
class DataFileReader {
public:
    /// Opens the file for reading; raises the input/output error when it cannot.
    explicit DataFileReader(const std::string& path);
    ~DataFileReader();
    DataFileReader(const DataFileReader&) = delete;
    DataFileReader& operator=(const DataFileReader&) = delete;

    /// True when no data is left (end of file or 0x1A reached).
    bool atEnd();
    /// Reads the next line without its line end; past the end it gives "" and false.
    bool readLine(std::string& line);

private:
    int nextByte(); // EOF at the end of the data
    std::FILE* m_file = nullptr;
    std::string m_path;
    bool m_ended = false;
    int m_peeked = -2; // -2: nothing peeked
};

/// True when a regular file (not a directory) exists at the path.
bool isRegularFile(const std::string& path);

/// The data directory, a "/" and the file name; the separator is always inserted,
/// also after a directory text that already ends in one.
std::string dataFilePath(const std::string& dataDirectory, const std::string& fileName);

} // namespace orvane::data
