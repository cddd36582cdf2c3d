#include "export/safe_file_writer.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::exporting {
namespace {

using Names = std::vector<std::string>;

class SafeFileWriter : public ::testing::Test {
protected:
    testing_support::TempDirectory m_dir;
};

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
    writeFileAtomically(m_dir.file("out.txt"), "a\r\nb\r\n");
    ::umask(old);
    EXPECT_EQ(m_dir.read("out.txt"), "a\r\nb\r\n");
    EXPECT_EQ(modeOf(m_dir.file("out.txt")), 0644u);
    EXPECT_EQ(m_dir.entries(), Names{"out.txt"});
}

TEST_F(SafeFileWriter, ReplacesAnExistingFileKeepingItsPermissions) {
    m_dir.write("out.txt", "a much longer old content that must not survive");
    ASSERT_EQ(::chmod(m_dir.file("out.txt").c_str(), 0640), 0);
    writeFileAtomically(m_dir.file("out.txt"), "new");
    EXPECT_EQ(m_dir.read("out.txt"), "new");
    EXPECT_EQ(modeOf(m_dir.file("out.txt")), 0640u);
    EXPECT_EQ(m_dir.entries(), Names{"out.txt"});
}

TEST_F(SafeFileWriter, APipeIsWrittenIntoNotReplaced) {
    const std::string pipe = m_dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // the reading end is open first, so the write neither blocks nor is lost
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    writeFileAtomically(pipe, "98.30\t0\r\n");
    char buffer[64] = {};
    const ssize_t received = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_EQ(std::string(buffer, received > 0 ? static_cast<std::size_t>(received) : 0),
              "98.30\t0\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(pipe.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(m_dir.entries(), Names{"pipe"});
}

TEST_F(SafeFileWriter, ADirectoryOfThatNameIsLeftAlone) {
    std::filesystem::create_directory(m_dir.file("dir"));
    m_dir.write("dir/inside.txt", "kept");
    EXPECT_EQ(messageOf(m_dir.file("dir"), "x"), text::Error::fromErrno(EISDIR).what());
    EXPECT_EQ(messageOf(m_dir.file("dir"), "x"), "ファイルへのアクセスが拒否されました");
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.file("dir")));
    EXPECT_EQ(m_dir.read("dir/inside.txt"), "kept");
    EXPECT_EQ(m_dir.entries(), Names{"dir"});
}

TEST_F(SafeFileWriter, AMissingDirectoryIsNotFound) {
    EXPECT_EQ(messageOf(m_dir.file("missing/out.txt"), "x"), "ファイルが見つかりません");
    EXPECT_TRUE(m_dir.entries().empty());
}

TEST_F(SafeFileWriter, WritesThroughASymbolicLink) {
    m_dir.write("target.txt", "old");
    std::filesystem::create_symlink(m_dir.file("target.txt"), m_dir.file("link.txt"));
    writeFileAtomically(m_dir.file("link.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir.file("link.txt")));
    EXPECT_EQ(m_dir.read("target.txt"), "new");
    EXPECT_EQ(m_dir.entries(), (Names{"link.txt", "target.txt"}));
}

TEST_F(SafeFileWriter, ARelativeNameIsWrittenInTheCurrentDirectory) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.path());
    writeFileAtomically("plain.txt", "here");
    std::filesystem::current_path(previous);
    EXPECT_EQ(m_dir.read("plain.txt"), "here");
    EXPECT_EQ(m_dir.entries(), Names{"plain.txt"});
}

TEST_F(SafeFileWriter, OnlyRegularFilesCountAsExisting) {
    m_dir.write("file.txt", "x");
    std::filesystem::create_directory(m_dir.file("dir"));
    EXPECT_TRUE(isRegularFile(m_dir.file("file.txt")));
    EXPECT_FALSE(isRegularFile(m_dir.file("dir")));
    EXPECT_FALSE(isRegularFile(m_dir.file("missing.txt")));
}

} // namespace
} // namespace orvane::exporting
