#include "export/writer_system_calls.h"

#include <fcntl.h>
#include <unistd.h>

namespace orvane::exporting {

namespace {

// open itself takes a variable argument list, which a plain pointer cannot name.
int openFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

} // namespace

WriterSystemCalls realWriterSystemCalls() {
    return {&openFile, &::write, &::fsync, &::close};
}

WriterSystemCalls& writerSystemCalls() {
    static WriterSystemCalls calls = realWriterSystemCalls();
    return calls;
}

} // namespace orvane::exporting
