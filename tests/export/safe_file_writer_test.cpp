#include "export/safe_file_writer.h"

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "export/temp_directory.h"
#include "text/error.h"

namespace orvane::exporting {
namespace {

using Names = std::vector<std::string>;

class SafeFileWriter : public testing::TempDirectory {};

mode_t modeOf(const std::string& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0);
    return info.st_mode & 07777;
}

std::string messageOf(const std::string& path, const std::string& contents) {
    try {
        writeFileAtomically(path, contents);
    } catch (const text::Error& error) {
        return error.what();
    }
    return "no error";
}

TEST_F(SafeFileWriter, CreatesANewFileLikeAPlainCreate) {
    const mode_t old = ::umask(022);
    writeFileAtomically(path("out.txt"), "a\r\nb\r\n");
    ::umask(old);
    EXPECT_EQ(readText(path("out.txt")), "a\r\nb\r\n");
    EXPECT_EQ(modeOf(path("out.txt")), 0644u);
    EXPECT_EQ(entries(), Names{"out.txt"});
}

TEST_F(SafeFileWriter, ReplacesAnExistingFileKeepingItsPermissions) {
    writeText(path("out.txt"), "a much longer old content that must not survive");
    ASSERT_EQ(::chmod(path("out.txt").c_str(), 0640), 0);
    writeFileAtomically(path("out.txt"), "new");
    EXPECT_EQ(readText(path("out.txt")), "new");
    EXPECT_EQ(modeOf(path("out.txt")), 0640u);
    EXPECT_EQ(entries(), Names{"out.txt"});
}

TEST_F(SafeFileWriter, ADirectoryOfThatNameIsLeftAlone) {
    std::filesystem::create_directory(path("dir"));
    writeText(path("dir/inside.txt"), "kept");
    EXPECT_EQ(messageOf(path("dir"), "x"), text::Error::fromErrno(EISDIR).what());
    EXPECT_EQ(messageOf(path("dir"), "x"), "ファイルへのアクセスが拒否されました");
    EXPECT_TRUE(std::filesystem::is_directory(path("dir")));
    EXPECT_EQ(readText(path("dir/inside.txt")), "kept");
    EXPECT_EQ(entries(), Names{"dir"});
}

TEST_F(SafeFileWriter, AMissingDirectoryIsNotFound) {
    EXPECT_EQ(messageOf(path("missing/out.txt"), "x"), "ファイルが見つかりません");
    EXPECT_TRUE(entries().empty());
}

TEST_F(SafeFileWriter, WritesThroughASymbolicLink) {
    writeText(path("target.txt"), "old");
    std::filesystem::create_symlink(path("target.txt"), path("link.txt"));
    writeFileAtomically(path("link.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(path("link.txt")));
    EXPECT_EQ(readText(path("target.txt")), "new");
    EXPECT_EQ(entries(), (Names{"link.txt", "target.txt"}));
}

TEST_F(SafeFileWriter, ARelativeNameIsWrittenInTheCurrentDirectory) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(m_root);
    writeFileAtomically("plain.txt", "here");
    std::filesystem::current_path(previous);
    EXPECT_EQ(readText(path("plain.txt")), "here");
    EXPECT_EQ(entries(), Names{"plain.txt"});
}

TEST_F(SafeFileWriter, OnlyRegularFilesCountAsExisting) {
    writeText(path("file.txt"), "x");
    std::filesystem::create_directory(path("dir"));
    EXPECT_TRUE(isRegularFile(path("file.txt")));
    EXPECT_FALSE(isRegularFile(path("dir")));
    EXPECT_FALSE(isRegularFile(path("missing.txt")));
}

} // namespace
} // namespace orvane::exporting
