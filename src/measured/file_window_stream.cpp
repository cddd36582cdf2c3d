#include "measured/file_window_stream.h"

#include <algorithm>
#include <cassert>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace orvane::measured {

namespace {
constexpr std::size_t bufferSize = 64 * 1024;
const std::streampos invalidPosition = std::streampos(std::streamoff(-1));
} // namespace

FileWindowBuffer::FileWindowBuffer(const std::string& path, std::streamoff begin,
                                   std::streamoff end)
    : m_begin(begin), m_length(end - begin), m_buffer(bufferSize) {
    assert(0 <= begin && begin <= end);
    m_descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data());
}

FileWindowBuffer::~FileWindowBuffer() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

FileWindowBuffer::int_type FileWindowBuffer::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    const std::streamoff at = position();
    if (m_descriptor < 0 || at >= m_length) {
        return traits_type::eof();
    }
    const auto wanted = static_cast<std::size_t>(
        std::min<std::streamoff>(static_cast<std::streamoff>(m_buffer.size()), m_length - at));
    ssize_t got = 0;
    do {
        got = ::pread(m_descriptor, m_buffer.data(), wanted, m_begin + at);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        return traits_type::eof(); // a read error ends the stream like the end of the file
    }
    m_bufferStart = at;
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
    return traits_type::to_int_type(*gptr());
}

FileWindowBuffer::pos_type FileWindowBuffer::seekoff(off_type offset,
                                                     std::ios_base::seekdir direction,
                                                     std::ios_base::openmode which) {
    std::streamoff base = 0;
    if (direction == std::ios_base::cur) {
        base = position();
    } else if (direction == std::ios_base::end) {
        base = m_length;
    }
    return seekpos(pos_type(base + offset), which);
}

FileWindowBuffer::pos_type FileWindowBuffer::seekpos(pos_type position,
                                                     std::ios_base::openmode which) {
    const std::streamoff target = position;
    if ((which & std::ios_base::out) || target < 0 || target > m_length) {
        return invalidPosition;
    }
    const std::streamoff inBuffer = target - m_bufferStart;
    if (inBuffer >= 0 && inBuffer <= egptr() - eback()) {
        setg(eback(), eback() + inBuffer, egptr());
    } else {
        m_bufferStart = target;
        setg(m_buffer.data(), m_buffer.data(), m_buffer.data());
    }
    return position;
}

FileWindowStream::FileWindowStream(const std::string& path, std::streamoff begin,
                                   std::streamoff end)
    : std::istream(nullptr), m_buffer(path, begin, end) {
    rdbuf(&m_buffer);
    if (!m_buffer.isOpen()) {
        setstate(std::ios_base::failbit);
    }
}

} // namespace orvane::measured
