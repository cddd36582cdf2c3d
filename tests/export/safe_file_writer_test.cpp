#include "export/safe_file_writer.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
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

TEST_F(SafeFileWriter, RefusalsNameTheFailedStepAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<std::string(const testing_support::TempDirectory&)> target;
        std::string message;
    };
    const std::string denied = "ファイルへのアクセスが拒否されました";
    const Case cases[] = {
        {"read-only file",
         [](const auto& dir) {
             const std::string file = dir.write("kept.txt", "old");
             ::chmod(file.c_str(), 0444); // refused whoever saves, root included
             return file;
         },
         denied},
        {"directory",
         [](const auto& dir) {
             std::filesystem::create_directory(dir.file("dir"));
             return dir.file("dir");
         },
         denied},
        {"missing folder", [](const auto& dir) { return dir.file("missing/out.txt"); },
         "ファイルが見つかりません"},
        {"link into a missing folder",
         [](const auto& dir) {
             std::filesystem::create_symlink("missing/out.txt", dir.file("link"));
             return dir.file("link");
         },
         "ファイルが見つかりません"},
        {"loop of links",
         [](const auto& dir) {
             std::filesystem::create_symlink("b", dir.file("a"));
             std::filesystem::create_symlink("a", dir.file("b"));
             return dir.file("a");
         },
         text::Error::fromErrno(ELOOP).what()},
        {"read-only pseudo-file", [](const auto&) { return std::string("/proc/version"); }, denied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testing_support::TempDirectory dir;
        const std::string target = c.target(dir);
        struct stat before {};
        if (::stat(target.c_str(), &before) != 0 && target.starts_with("/proc")) {
            continue; // no /proc here
        }
        const Names entries = dir.entries();
        const std::string old = dir.read("kept.txt");
        EXPECT_EQ(messageOf(target, "new"), c.message);
        EXPECT_EQ(dir.entries(), entries);
        EXPECT_EQ(dir.read("kept.txt"), old);
    }
}

TEST_F(SafeFileWriter, AFullDeviceReportsTheFullDisk) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    EXPECT_EQ(messageOf("/dev/full", "\x89PNG\r\n"), "ディスクがいっぱいです");
    std::filesystem::create_symlink("/dev/full", m_dir.file("full"));
    EXPECT_EQ(messageOf(m_dir.file("full"), std::string(200000, 'x')), "ディスクがいっぱいです");
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir.file("full")));
}

TEST_F(SafeFileWriter, RawBytesArriveUnchanged) {
    const std::string bytes("\x89PNG\r\n\x1a\n\0\xff\0", 11);
    writeFileAtomically(m_dir.file("picture.png"), bytes);
    EXPECT_EQ(m_dir.read("picture.png"), bytes);
    writeFileAtomically(m_dir.file("empty.txt"), [](OutputSink&) {});
    EXPECT_TRUE(std::filesystem::is_regular_file(m_dir.file("empty.txt")));
    EXPECT_EQ(m_dir.read("empty.txt"), "");
}

TEST_F(SafeFileWriter, ADanglingLinkIsWrittenThroughToTheFileItNames) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // name, what it points to
        std::string written;                                    // the name saved to
        std::string created;                                    // where the file appears
    };
    const Case cases[] = {
        {"relative", {{"link.txt", "new.txt"}}, "link.txt", "new.txt"},
        {"relative, read in the link's folder",
         {{"sub/link.txt", "../up.txt"}},
         "sub/link.txt",
         "up.txt"},
        {"into a subfolder", {{"link.txt", "sub/down.txt"}}, "link.txt", "sub/down.txt"},
        {"chain", {{"a", "sub/b"}, {"sub/b", "../c.txt"}}, "a", "c.txt"},
        {"absolute", {{"link.txt", "@/abs.txt"}}, "link.txt", "abs.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testing_support::TempDirectory dir;
        std::filesystem::create_directory(dir.file("sub"));
        for (const auto& [name, target] : c.links) {
            std::filesystem::create_symlink(
                target.starts_with('@') ? dir.path() + target.substr(1) : target, dir.file(name));
        }
        writeFileAtomically(dir.file(c.written), "through");
        EXPECT_EQ(dir.read(c.created), "through");
        EXPECT_TRUE(
            std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.file(c.created))));
        for (const auto& link : c.links) {
            EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link.first))) << link.first;
        }
    }
}

TEST_F(SafeFileWriter, StaleTemporariesOfKilledSavesAreRemovedAndNothingElse) {
    enum class Kind { File, Locked, OtherOwner, Directory, Link };
    struct Case {
        const char* name;
        Kind kind;
        long ageSeconds;
        bool removed;
    };
    const Case cases[] = {
        {".out.txt.orvane-Ab12Cd", Kind::File, 3600, true},
        {".other.dat.orvane-zzzzzz", Kind::File, 301, true}, // any target's, in this folder
        {".out.txt.orvane-Ab12Ce", Kind::File, 60, false},   // may be a writer's still
        {".out.txt.orvane-Ab12Cf", Kind::Locked, 3600, false},
        {".out.txt.orvane-Ab12Cg", Kind::OtherOwner, 3600, false},
        {".out.txt.orvane-Ab12Ch", Kind::Directory, 3600, false},
        {".out.txt.orvane-Ab12Ci", Kind::Link, 3600, false},
        {"out.txt.orvane-Ab12Cd", Kind::File, 3600, false},  // no leading dot
        {".out.txt.orvane-Ab12C", Kind::File, 3600, false},  // five letters
        {".out.txt.orvane-Ab12C!", Kind::File, 3600, false}, // not a letter
        {"..orvane-Ab12Cd", Kind::File, 3600, false},        // no name inside
        {".out.txt.XXXXXX", Kind::File, 3600, false},        // the naming before
        {".out.txt.orvane-Ab12Cd.bak", Kind::File, 3600, false},
    };
    // only root can make a file of someone else's
    const auto skipped = [](const Case& c) {
        return c.kind == Kind::OtherOwner && ::geteuid() != 0;
    };
    int lockedFd = -1;
    for (const Case& c : cases) {
        if (skipped(c)) {
            continue;
        }
        const std::string path = m_dir.file(c.name);
        switch (c.kind) {
        case Kind::Directory:
            std::filesystem::create_directory(path);
            break;
        case Kind::Link:
            m_dir.write("pointed.txt", "kept");
            std::filesystem::create_symlink("pointed.txt", path);
            break;
        default:
            m_dir.write(c.name, "left over");
        }
        if (c.kind == Kind::Locked) {
            lockedFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::flock(lockedFd, LOCK_EX | LOCK_NB), 0);
        }
        if (c.kind == Kind::OtherOwner) {
            ASSERT_EQ(::lchown(path.c_str(), 12345, 12345), 0);
        }
        const timespec times[2] = {{std::time(nullptr) - c.ageSeconds, 0},
                                   {std::time(nullptr) - c.ageSeconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << c.name;
    }
    writeFileAtomically(m_dir.file("out.txt"), "new");
    ::close(lockedFd);
    EXPECT_EQ(m_dir.read("out.txt"), "new");
    for (const Case& c : cases) {
        if (skipped(c)) {
            continue;
        }
        SCOPED_TRACE(c.name);
        std::error_code ignored;
        const bool present = std::filesystem::symlink_status(m_dir.file(c.name), ignored).type() !=
                             std::filesystem::file_type::not_found;
        EXPECT_EQ(present, !c.removed);
    }
    EXPECT_EQ(m_dir.read("pointed.txt"), "kept");
}

} // namespace
} // namespace orvane::exporting
