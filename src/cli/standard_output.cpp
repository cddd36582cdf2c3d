#include "cli/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane::cli {

void writeAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw OutputError(std::string("cannot write the output: ") + std::strerror(errno));
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace orvane::cli
