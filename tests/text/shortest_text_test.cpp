#include "text/shortest_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace orvane::text {
namespace {

// What std::to_chars writes, the form both functions promise.
std::string toChars(double value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

TEST(ShortestText, AppendedWholeAndHalfNumbersAreWrittenAsToCharsWritesThem) {
    const double values[] = {0.0,
                             -0.0,
                             0.5,
                             -0.5,
                             2.5,
                             -3.0,
                             7.0,
                             123456789012345.5,
                             999999999999999.0,
                             1e15,
                             1e16,
                             -1e300,
                             0.1,
                             0.25,
                             180.063388103,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (const double value : values) {
        SCOPED_TRACE(toChars(value));
        std::string out = "x";
        appendShortest(out, value);
        EXPECT_EQ(out, "x" + toChars(value));
        EXPECT_EQ(shortestText(value), toChars(value));
    }
}

} // namespace
} // namespace orvane::text
