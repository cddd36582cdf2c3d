#include "text/byte_size_text.h"

#include <gtest/gtest.h>

namespace orvane::text {
namespace {

TEST(ByteSizeText, TakesTheLargestWholeUnit) {
    const struct {
        std::size_t bytes;
        const char* expected;
    } cases[] = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {1024, "1 KiB"},
        {1500, "1500 bytes"},
        {64 * 1024, "64 KiB"},
        {1 << 20, "1 MiB"},
        {(1 << 20) + 1024, "1025 KiB"},
        {std::size_t(1) << 30, "1 GiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(byteSizeText(c.bytes), c.expected);
    }
}

} // namespace
} // namespace orvane::text
