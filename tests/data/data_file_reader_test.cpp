#include "data/data_file_reader.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::data {
namespace {

using testing_support::TempDirectory;

std::vector<std::string> readAll(const std::string& path) {
    DataFileReader reader(path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    EXPECT_TRUE(reader.atEnd());
    return lines;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(DataFileReader, SplitsLinesAsTheDataFilesDefineThem) {
    const LineCase cases[] = {
        {"empty file", "", {}},
        {"one line without line end", "a", {"a"}},
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"mixed line ends", "a\r\nb\nc", {"a", "b", "c"}},
        {"blank last line", "a\n\n", {"a", ""}},
        {"only a line end", "\r\n", {""}},
        {"empty lines count", "\n\n\n", {"", "", ""}},
        {"lone CR inside a line", "a\rb\r\n", {"ab"}},
        {"lone CR at the end of the data", "a\r", {"a"}},
        {"CR CR LF", "a\r\r\nb", {"a", "b"}},
        {"a lone CR is a line of its own", "\r", {""}},
        {"0x1A ends the data", "a\r\nb\x1a\r\nc\r\n", {"a", "b"}},
        {"0x1A at the start",
         "\x1a"
         "a\n",
         {}},
        {"0x1A after a line end", "a\n\x1a", {"a"}},
        {"0x1A between CR and LF", "a\r\x1a\n", {"a"}},
        {"TABs and blanks kept", " \ta\t \r\n", {" \ta\t "}},
        {"NUL and high bytes kept", std::string("\0\x80\xff\n", 4), {std::string("\0\x80\xff", 3)}},
    };
    TempDirectory dir;
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readAll(dir.write("lines.txt", c.bytes)), c.lines);
    }
}

TEST(DataFileReader, ReadsLinesOfAnyLength) {
    TempDirectory dir;
    const std::string longLine(300000, 'x');
    EXPECT_EQ(readAll(dir.write("long.txt", longLine + "\r\n" + longLine)),
              (std::vector<std::string>{longLine, longLine}));
}

TEST(DataFileReader, ReadingPastTheEndGivesAnEmptyLine) {
    TempDirectory dir;
    DataFileReader reader(dir.write("one.txt", "only\r\n"));
    std::string line;
    EXPECT_FALSE(reader.atEnd());
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "only");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
    line = "stale";
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
}

TEST(DataFileReader, AMissingFileIsAnInputOutputError) {
    TempDirectory dir;
    try {
        DataFileReader reader(dir.file("absent.txt"));
        FAIL() << "opened a missing file";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "ファイルが見つかりません");
    }
}

TEST(DataFileReader, AReadErrorRaisesTheErrorForItsCode) {
    // A directory opens for reading on POSIX systems; reading it fails with EISDIR.
    TempDirectory dir;
    try {
        DataFileReader reader(dir.path());
        std::string line;
        reader.readLine(line);
        FAIL() << "read a directory";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "ファイルへのアクセスが拒否されました");
    }
}

TEST(DataFileReader, OnlyRegularFilesCount) {
    TempDirectory dir;
    const std::string file = dir.write("elem.txt", "");
    std::filesystem::create_directory(dir.file("abundances.txt"));
    std::filesystem::create_symlink(file, dir.file("link.txt"));
    EXPECT_TRUE(isRegularFile(file));
    EXPECT_TRUE(isRegularFile(dir.file("link.txt")));
    EXPECT_FALSE(isRegularFile(dir.file("abundances.txt")));
    EXPECT_FALSE(isRegularFile(dir.file("absent.txt")));
    EXPECT_FALSE(isRegularFile(dir.path()));
    EXPECT_FALSE(isRegularFile(""));
}

TEST(DataFilePath, AlwaysInsertsTheSeparator) {
    struct PathCase {
        std::string directory;
        std::string expected;
    };
    const PathCase cases[] = {
        {"/home/user/orvane", "/home/user/orvane/elem.txt"},
        {"/", "//elem.txt"},
        {"/data/", "/data//elem.txt"},
        {"", "/elem.txt"},
        {"rel", "rel/elem.txt"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.directory);
        EXPECT_EQ(dataFilePath(c.directory, "elem.txt"), c.expected);
    }
}

TEST(DataFilePath, ADoubledSeparatorStillNamesTheFile) {
    TempDirectory dir;
    dir.write("elem.txt", "Atom\n");
    const std::string path = dataFilePath(dir.path() + "/", "elem.txt");
    EXPECT_EQ(path, dir.path() + "//elem.txt");
    EXPECT_TRUE(isRegularFile(path));
    EXPECT_EQ(readAll(path), (std::vector<std::string>{"Atom"}));
}

} // namespace
} // namespace orvane::data
