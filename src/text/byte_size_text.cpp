#include "text/byte_size_text.h"

namespace orvane::text {

std::string byteSizeText(std::size_t bytes) {
    constexpr const char* units[] = {"GiB", "MiB", "KiB"};
    for (int k = 0; k < 3; ++k) {
        const std::size_t unit = std::size_t(1) << (10 * (3 - k));
        if (bytes >= unit && bytes % unit == 0) {
            return std::to_string(bytes / unit) + " " + units[k];
        }
    }
    return std::to_string(bytes) + " bytes";
}

} // namespace orvane::text
