#pragma once

#include <cstddef>

#include <sys/types.h>

namespace orvane::exporting {

// The system calls through which the safe file writer opens, fills and closes the files
// it writes. They are plain pointers so that a test can make one fail (a full disk, an
// I/O error, a folder that takes no new files) where the real system would not; the
// program itself never changes them.
struct WriterSystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
};

/// The calls the writer uses now, to be replaced by tests.
WriterSystemCalls& writerSystemCalls();
/// The real system calls.
WriterSystemCalls realWriterSystemCalls();

} // namespace orvane::exporting
