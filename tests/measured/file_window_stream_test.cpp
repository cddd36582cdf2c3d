#include "measured/file_window_stream.h"

#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_directory.h"

namespace orvane::measured {
namespace {

std::string rest(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FileWindowStream, ShowsOnlyTheWindowAndSeeksInsideIt) {
    const testing_support::TempDirectory dir;
    const std::string path = dir.write("bytes", "0123456789");
    EXPECT_FALSE(FileWindowStream(dir.file("missing"), 0, 1));

    FileWindowStream window(path, 2, 7);
    EXPECT_EQ(rest(window), "23456");
    window.clear();
    window.seekg(-2, std::ios::end);
    EXPECT_EQ(window.tellg(), 3);
    EXPECT_EQ(rest(window), "56");
    window.clear();
    window.seekg(1);
    char two[2];
    window.read(two, 2);
    EXPECT_EQ(std::string(two, 2), "34");
    window.seekg(-1, std::ios::cur); // back inside the buffer already read
    EXPECT_EQ(rest(window), "456");
    window.clear();
    window.seekg(6);
    EXPECT_TRUE(window.fail()); // past the window's end
}

} // namespace
} // namespace orvane::measured
