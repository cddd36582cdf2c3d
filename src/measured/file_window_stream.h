#pragma once

#include <ios>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace orvane::measured {

// The bytes [begin, end) of a file shown as a whole seekable stream: position 0 is byte
// `begin`, the stream ends at `end`. This is how an indexedmzML whose index is wrong is read
// as the plain mzML inside it, without copying the file.
class FileWindowBuffer : public std::streambuf {
public:
    /// Opens the file; isOpen() tells whether that worked.
    FileWindowBuffer(const std::string& path, std::streamoff begin, std::streamoff end);
    ~FileWindowBuffer() override;
    FileWindowBuffer(const FileWindowBuffer&) = delete;
    FileWindowBuffer& operator=(const FileWindowBuffer&) = delete;

    /// True when the file could be opened.
    bool isOpen() const { return m_descriptor >= 0; }

protected:
    int_type underflow() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    std::streamoff position() const { return m_bufferStart + (gptr() - eback()); }

    int m_descriptor = -1;
    std::streamoff m_begin;
    std::streamoff m_length;
    std::streamoff m_bufferStart = 0; // window position of the buffer's first byte
    std::vector<char> m_buffer;
};

// An input stream over a FileWindowBuffer that it owns; failed from the start when the file
// cannot be opened.
class FileWindowStream : public std::istream {
public:
    /// Shows the bytes [begin, end) of the file at `path`.
    FileWindowStream(const std::string& path, std::streamoff begin, std::streamoff end);

private:
    FileWindowBuffer m_buffer;
};

} // namespace orvane::measured
