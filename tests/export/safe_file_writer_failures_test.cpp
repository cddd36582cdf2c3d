#include "export/safe_file_writer.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "export/writer_system_calls.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::exporting {
namespace {

using Names = std::vector<std::string>;

// What the replaced system calls do: the real thing, or the failure a test asks for.
struct Injection {
    int unnamedError = 0;        // errno for an open with O_TMPFILE
    int namedError = 0;          // errno for the open of a named temporary
    int failingWrite = -1;       // the write call (from 0) that fails
    int writeError = 0;          // its errno; 0 makes it write nothing
    std::size_t shortWrites = 0; // when not 0, no write takes more bytes than this
    int fsyncError = 0;
    int closeError = 0; // the file is closed all the same, as on Linux
    int writes = 0;
    std::vector<std::size_t> writeSizes;
};
Injection injection;

int injectedOpen(const char* path, int flags, mode_t mode) {
    const int error = (flags & O_TMPFILE) == O_TMPFILE ? injection.unnamedError
                      : (flags & O_EXCL) != 0          ? injection.namedError
                                                       : 0;
    if (error != 0) {
        errno = error;
        return -1;
    }
    return realWriterSystemCalls().open(path, flags, mode);
}

ssize_t injectedWrite(int fd, const void* data, std::size_t size) {
    if (injection.writes++ == injection.failingWrite) {
        errno = injection.writeError;
        return injection.writeError == 0 ? 0 : -1;
    }
    if (injection.shortWrites != 0) {
        size = std::min(size, injection.shortWrites);
    }
    injection.writeSizes.push_back(size);
    return realWriterSystemCalls().write(fd, data, size);
}

int injectedFsync(int fd) {
    if (injection.fsyncError != 0) {
        errno = injection.fsyncError;
        return -1;
    }
    return realWriterSystemCalls().fsync(fd);
}

int injectedClose(int fd) {
    const int result = realWriterSystemCalls().close(fd);
    if (injection.closeError != 0) {
        errno = injection.closeError;
        return -1;
    }
    return result;
}

class SafeFileWriterFailures : public ::testing::Test {
protected:
    void SetUp() override {
        injection = {};
        writerSystemCalls() = {&injectedOpen, &injectedWrite, &injectedFsync, &injectedClose};
    }
    void TearDown() override { writerSystemCalls() = realWriterSystemCalls(); }

    /// The error text of a save of `pieces` blocks of 1000 bytes to `name`.
    std::string save(const std::string& name, int pieces = 200, int throwAfter = -1) {
        try {
            writeFileAtomically(m_dir.file(name), [&](OutputSink& out) {
                for (int k = 0; k < pieces; ++k) {
                    if (k == throwAfter) {
                        throw std::runtime_error("producer failed");
                    }
                    out.write(std::string(1000, static_cast<char>('a' + k % 26)));
                }
            });
        } catch (const std::exception& error) {
            return error.what();
        }
        return "no error";
    }

    testing_support::TempDirectory m_dir;
};

TEST_F(SafeFileWriterFailures, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    struct Case {
        const char* name;
        int failingWrite, writeError;
        std::size_t shortWrites;
        int fsyncError, closeError, throwAfter;
        std::string message;
    };
    const std::string full = "ディスクがいっぱいです";
    const Case cases[] = {
        {"first write", 0, EIO, 0, 0, 0, -1, "I/O エラー (5)"},
        {"second block", 1, ENOSPC, 0, 0, 0, -1, full},
        {"short writes, then full", 5, ENOSPC, 1000, 0, 0, -1, full},
        {"a write that makes no progress", 2, 0, 0, 0, 0, -1, full},
        {"fsync", -1, 0, 0, EIO, 0, -1, "I/O エラー (5)"},
        {"close", -1, 0, 0, 0, EDQUOT, -1, full},
        {"producer", -1, 0, 0, 0, 0, 100, "producer failed"},
    };
    for (const int unnamedError : {0, EOPNOTSUPP}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (unnamedError == 0 ? ", unnamed" : ", named"));
            m_dir.write("out.txt", "old contents");
            injection = {};
            injection.unnamedError = unnamedError;
            injection.failingWrite = c.failingWrite;
            injection.writeError = c.writeError;
            injection.shortWrites = c.shortWrites;
            injection.fsyncError = c.fsyncError;
            injection.closeError = c.closeError;
            EXPECT_EQ(save("out.txt", 200, c.throwAfter), c.message);
            EXPECT_EQ(m_dir.read("out.txt"), "old contents");
            EXPECT_EQ(m_dir.entries(), Names{"out.txt"});
        }
    }
}

TEST_F(SafeFileWriterFailures, BytesGoOutInBlocksOf64KiB) {
    struct Case {
        int pieces;
        std::size_t pieceSize;
        std::vector<std::size_t> writes;
    };
    const Case cases[] = {
        {200000, 1, {65536, 65536, 65536, 3392}},
        {3, 40000, {40000, 40000, 40000}}, // a piece that does not fit sends the block first
        {1, 1 << 20, {1 << 20}},           // a large piece is not copied
        {0, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pieces) + " x " + std::to_string(c.pieceSize));
        injection = {};
        writeFileAtomically(m_dir.file("out.txt"), [&](OutputSink& out) {
            for (int k = 0; k < c.pieces; ++k) {
                out.write(std::string(c.pieceSize, 'x'));
            }
        });
        EXPECT_EQ(injection.writeSizes, c.writes);
        EXPECT_EQ(m_dir.read("out.txt").size(), c.pieces * c.pieceSize);
    }
}

TEST_F(SafeFileWriterFailures, AFolderThatTakesNoNewFilesGetsTheFileRewrittenInPlace) {
    struct Case {
        int error;
        bool inPlace;
    };
    // the errors of a folder or file system that refuses new names; a full disk is not one
    const Case cases[] = {{EACCES, true}, {EPERM, true},      {EROFS, true},
                          {ENOENT, true}, {EOPNOTSUPP, true}, {ENOSPC, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const std::string file = m_dir.write("out.txt", "old contents");
        struct stat before {};
        ASSERT_EQ(::stat(file.c_str(), &before), 0);
        injection = {};
        injection.unnamedError = c.error;
        injection.namedError = c.error;
        EXPECT_EQ(save("out.txt", 3),
                  c.inPlace ? "no error" : text::Error::fromErrno(c.error).what());
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(m_dir.read("out.txt"),
                  c.inPlace
                      ? std::string(1000, 'a') + std::string(1000, 'b') + std::string(1000, 'c')
                      : "old contents");
        EXPECT_EQ(m_dir.entries(), Names{"out.txt"});
        // a new file cannot be made there at all
        EXPECT_EQ(save("new.txt", 3), text::Error::fromErrno(c.error).what());
        EXPECT_EQ(m_dir.entries(), Names{"out.txt"});
    }
}

TEST_F(SafeFileWriterFailures, ATemporaryHasANameOnlyWhereTheFileSystemMakesNoUnnamedOne) {
    const std::string longName(255, 'n');
    const std::string japanese = [] {
        std::string name = "x";
        for (int k = 0; k < 84; ++k) {
            name += "あ"; // 3 bytes each: a cut after 240 bytes would split one
        }
        return name;
    }();
    struct Case {
        std::string target;
        int unnamedError;
        std::size_t keptBytes; // of the target's name inside the temporary's; npos: unnamed
    };
    const Case cases[] = {
        {"out.txt", 0, std::string::npos},
        {"out.txt", EOPNOTSUPP, 7},
        {"out.txt", EISDIR, 7}, // kernels without unnamed files say so
        {longName, EOPNOTSUPP, 240},
        {longName.substr(0, 248), EOPNOTSUPP, 240},
        {japanese, EOPNOTSUPP, 238}, // cut between characters: "x" and 79 of them
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.target.size()) + " bytes, " + std::to_string(c.unnamedError));
        const testing_support::TempDirectory dir;
        injection = {};
        injection.unnamedError = c.unnamedError;
        Names during;
        writeFileAtomically(dir.file(c.target), [&](OutputSink& out) {
            out.write("contents");
            during = dir.entries();
        });
        EXPECT_EQ(dir.read(c.target), "contents");
        EXPECT_EQ(dir.entries(), Names{c.target});
        if (c.keptBytes == std::string::npos) {
            EXPECT_TRUE(during.empty());
            continue;
        }
        ASSERT_EQ(during.size(), 1u);
        const std::string& temporary = during[0];
        EXPECT_LE(temporary.size(), 255u);
        EXPECT_EQ(temporary.size(), 1 + c.keptBytes + 8 + 6);
        EXPECT_EQ(temporary.substr(0, 1 + c.keptBytes), "." + c.target.substr(0, c.keptBytes));
        EXPECT_EQ(temporary.substr(1 + c.keptBytes, 8), ".orvane-");
    }
}

TEST_F(SafeFileWriterFailures, AKilledSaveLeavesNoTemporaryForLong) {
    for (const int unnamedError : {0, EOPNOTSUPP}) {
        SCOPED_TRACE(unnamedError == 0 ? "unnamed" : "named");
        m_dir.write("out.txt", "old contents");
        injection.unnamedError = unnamedError;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                writeFileAtomically(m_dir.file("out.txt"), [](OutputSink& out) {
                    out.write(std::string(200000, 'x'));
                    ::raise(SIGKILL);
                });
            } catch (...) {
            }
            ::_exit(0); // never back into the test runner
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(m_dir.read("out.txt"), "old contents");
        Names left = m_dir.entries();
        if (unnamedError == 0) {
            EXPECT_EQ(left, Names{"out.txt"}); // an unnamed file goes with its process
            continue;
        }
        // a named one stays until a save after it has been still for a while
        ASSERT_EQ(left.size(), 2u);
        const std::string temporary = m_dir.file(left[0]);
        EXPECT_TRUE(left[0].starts_with(".out.txt.orvane-")) << left[0];
        save("other.txt", 1);
        EXPECT_EQ(m_dir.entries(), (Names{left[0], "other.txt", "out.txt"}));
        const timespec times[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, temporary.c_str(), times, 0), 0);
        save("other.txt", 1);
        EXPECT_EQ(m_dir.entries(), (Names{"other.txt", "out.txt"}));
    }
}

// Restores the writer's in-place consent when a test ends.
class ConsentGiven {
public:
    explicit ConsentGiven(InPlaceConsent consent)
        : m_before(setInPlaceConsent(std::move(consent))) {}
    ~ConsentGiven() { setInPlaceConsent(std::move(m_before)); }

private:
    InPlaceConsent m_before;
};

TEST_F(SafeFileWriterFailures, AFailedRewriteInPlaceSaysTheOldContentsAreLost) {
    const struct {
        int failingWrite;
        int fsyncError;
        std::string reason;
    } cases[] = {
        {1, 0, "ディスクがいっぱいです"},
        {-1, EIO, "I/O エラー (5)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        m_dir.write("out.txt", "old contents");
        injection = {};
        injection.unnamedError = EACCES;
        injection.namedError = EACCES;
        injection.failingWrite = c.failingWrite;
        injection.writeError = ENOSPC;
        injection.fsyncError = c.fsyncError;
        EXPECT_EQ(save("out.txt", 100),
                  c.reason + " The file was being rewritten in place: its old contents are lost.");
        EXPECT_NE(m_dir.read("out.txt"), "old contents");
    }
}

TEST_F(SafeFileWriterFailures, ARewriteInPlaceIsAskedForFirst) {
    for (const bool given : {false, true}) {
        SCOPED_TRACE(given);
        const std::string file = m_dir.write("out.txt", "old contents");
        std::vector<std::string> asked;
        const ConsentGiven consent([&](const std::string& path) {
            asked.push_back(path);
            return given;
        });
        injection = {};
        injection.unnamedError = EACCES;
        injection.namedError = EACCES;
        EXPECT_EQ(save("out.txt", 1),
                  given ? "no error"
                        : "The file was not saved: its folder takes no new files, and rewriting "
                          "it in place was declined.");
        EXPECT_EQ(asked, std::vector<std::string>{file});
        EXPECT_EQ(m_dir.read("out.txt"), given ? std::string(1000, 'a') : "old contents");
        // a save that can replace the file asks nothing
        injection = {};
        asked.clear();
        EXPECT_EQ(save("out.txt", 1), "no error");
        EXPECT_TRUE(asked.empty());
    }
}

} // namespace
} // namespace orvane::exporting
