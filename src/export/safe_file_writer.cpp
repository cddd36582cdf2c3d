#include "export/safe_file_writer.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "export/protected_files.h"
#include "export/writer_system_calls.h"
#include "text/error.h"

namespace orvane::exporting {

namespace {

constexpr std::size_t blockSize = 64 * 1024;
// Temporaries are ".<name>.orvane-XXXXXX"; only names of this form are ever cleaned up.
constexpr std::string_view temporaryMark = ".orvane-";
constexpr std::string_view randomLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t randomLength = 6;
constexpr int nameAttempts = 100;
constexpr int maxLinks = 40; // as many as the kernel follows in one path
// A writer touches its temporary at every block; one untouched this long has no writer.
constexpr std::time_t staleAge = 5 * 60;

[[noreturn]] void fail(int error) {
    throw text::Error::fromErrno(error);
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string readLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            fail(errno);
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

/// Writing through a symbolic link writes the file it names, not the link; the file need
/// not exist yet. A relative link is read against the folder that holds it.
std::string resolvedTarget(const std::string& path) {
    std::string current = path;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        if (links == maxLinks) {
            fail(ELOOP);
        }
        const std::string link = readLink(current);
        current = link.starts_with('/') ? link : directoryOf(current) + "/" + link;
    }
}

/// The bytes written whole: 0, or the errno of the write that failed.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = writerSystemCalls().write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC; // no progress: nothing more fits
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

/// 0, or the errno of a flush that failed; a file that cannot be synced (a pipe, a
/// device, a pseudo-file) has nothing waiting for a disk.
int syncFile(int fd) {
    if (writerSystemCalls().fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        return errno;
    }
    return 0;
}

/// 0, or the errno of a close that failed (a write-back error); on Linux an interrupted
/// close has still closed the file.
int closeFile(int fd) {
    if (writerSystemCalls().close(fd) != 0 && errno != EINTR) {
        return errno;
    }
    return 0;
}

// Collects the bytes in one block and writes it out whenever it is full.
class FileSink : public OutputSink {
public:
    explicit FileSink(int fd) : m_fd(fd), m_block(std::make_unique<char[]>(blockSize)) {}

    void write(std::string_view bytes) override {
        if (bytes.empty()) {
            return;
        }
        if (bytes.size() > blockSize - m_used) {
            flush();
            if (bytes.size() >= blockSize) {
                put(bytes.data(), bytes.size());
                return;
            }
        }
        std::memcpy(m_block.get() + m_used, bytes.data(), bytes.size());
        m_used += bytes.size();
    }

    /// Writes out what the block holds.
    void flush() {
        const std::size_t used = std::exchange(m_used, 0);
        if (used > 0) {
            put(m_block.get(), used);
        }
    }

private:
    void put(const char* data, std::size_t size) {
        if (const int error = writeAll(m_fd, data, size); error != 0) {
            fail(error);
        }
    }

    int m_fd;
    std::unique_ptr<char[]> m_block;
    std::size_t m_used = 0;
};

/// Runs the producer into the open file and flushes everything to the disk.
void fill(int fd, const std::function<void(OutputSink&)>& produce) {
    FileSink sink(fd);
    produce(sink);
    sink.flush();
    if (const int error = syncFile(fd); error != 0) {
        fail(error);
    }
}

InPlaceConsent& inPlaceConsent() {
    static InPlaceConsent consent;
    return consent;
}

/// Writes into the file itself, truncating it: for what cannot be replaced by a rename.
/// `losesOldContents`: a failure once it is open says that what the file held is gone.
void writeInPlace(const std::string& path, const std::function<void(OutputSink&)>& produce,
                  bool losesOldContents = false) {
    const int fd =
        writerSystemCalls().open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        fail(errno);
    }
    try {
        try {
            fill(fd, produce);
        } catch (...) {
            writerSystemCalls().close(fd);
            throw;
        }
        if (const int error = closeFile(fd); error != 0) {
            fail(error);
        }
    } catch (const text::Error& failure) {
        if (!losesOldContents) {
            throw;
        }
        throw text::Error(std::string(failure.what()) +
                          " The file was being rewritten in place: its old contents are lost.");
    }
}

bool isTemporaryName(std::string_view name) {
    // a dot, at least one byte of the target's name, the mark, the random letters
    if (name.size() < 2 + temporaryMark.size() + randomLength || name[0] != '.') {
        return false;
    }
    const std::string_view letters = name.substr(name.size() - randomLength);
    const std::string_view mark =
        name.substr(name.size() - randomLength - temporaryMark.size(), temporaryMark.size());
    return mark == temporaryMark && std::all_of(letters.begin(), letters.end(), [](char c) {
               return randomLetters.find(c) != std::string_view::npos;
           });
}

/// A fresh temporary name for `targetName` in `directory`: the target's name cut (at a
/// character boundary where it can) so that the whole stays within the folder's name limit.
std::string temporaryName(const std::string& directory, const std::string& targetName) {
    long nameMax = ::pathconf(directory.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0 || nameMax > NAME_MAX) {
        nameMax = NAME_MAX;
    }
    const std::size_t room = std::max<long>(
        static_cast<long>(nameMax) - static_cast<long>(1 + temporaryMark.size() + randomLength), 1);
    std::size_t keep = std::min(targetName.size(), room);
    const auto continues = [&](std::size_t k) {
        return k < targetName.size() && (static_cast<unsigned char>(targetName[k]) & 0xC0) == 0x80;
    };
    std::size_t cut = keep;
    while (cut > 0 && continues(cut)) {
        --cut;
    }
    if (cut > 0) {
        keep = cut;
    }
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, randomLetters.size() - 1);
    std::string name = ".";
    name.append(targetName, 0, keep);
    name.append(temporaryMark);
    for (std::size_t k = 0; k < randomLength; ++k) {
        name.push_back(randomLetters[letter(random)]);
    }
    return name;
}

/// Removes what killed saves left in `directory`: temporaries of the saving user that no
/// writer holds locked and that have not changed for a while. Nothing here may stop the
/// save, so every failure just leaves the file.
void removeStaleTemporaries(const std::string& directory) {
    DIR* const folder = ::opendir(directory.c_str());
    if (folder == nullptr) {
        return;
    }
    const int folderFd = ::dirfd(folder);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (!isTemporaryName(name)) {
            continue;
        }
        struct stat listed {};
        if (::fstatat(folderFd, name, &listed, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(listed.st_mode) || listed.st_uid != ::geteuid() ||
            now - listed.st_mtime < staleAge) {
            continue;
        }
        const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        // still the same file, and no writer holds it
        struct stat opened {};
        struct stat again {};
        if (::fstat(fd, &opened) == 0 && opened.st_ino == listed.st_ino &&
            opened.st_dev == listed.st_dev && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folderFd, name, &again, AT_SYMLINK_NOFOLLOW) == 0 &&
            again.st_ino == listed.st_ino && again.st_dev == listed.st_dev) {
            ::unlinkat(folderFd, name, 0);
        }
        ::close(fd);
    }
    ::closedir(folder);
}

std::string procPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// The temporary of one save: open until it is closed, named once it has a name.
struct Temporary {
    int fd = -1;
    std::string path; // empty while the file has no name
    bool unnamed = false;

    /// Closes and removes what is left of it after a failure.
    void discard() noexcept {
        if (fd >= 0) {
            writerSystemCalls().close(fd);
            fd = -1;
        }
        if (!path.empty()) {
            ::unlink(path.c_str());
            path.clear();
        }
    }
};

/// Opens the temporary in `directory`: unnamed where the file system can make one (it
/// vanishes with the process however that ends), named otherwise. Returns 0 or the errno.
int openTemporary(const std::string& directory, const std::string& targetName, mode_t mode,
                  Temporary& temporary) {
    WriterSystemCalls& calls = writerSystemCalls();
    int fd = calls.open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
        // it is named through /proc; without /proc it can never be linked in
        if (::access(procPath(fd).c_str(), F_OK) == 0) {
            temporary.fd = fd;
            temporary.unnamed = true;
            ::flock(fd, LOCK_EX | LOCK_NB);
            return 0;
        }
        calls.close(fd);
    }
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        const std::string path = directory + "/" + temporaryName(directory, targetName);
        fd = calls.open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            temporary.fd = fd;
            temporary.path = path;
            // the cleaning of stale temporaries leaves a locked one alone
            ::flock(fd, LOCK_EX | LOCK_NB);
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

/// Gives the complete unnamed temporary a temporary name; linkat cannot replace a file,
/// so the rename does that afterwards.
void linkTemporary(Temporary& temporary, const std::string& directory,
                   const std::string& targetName) {
    const std::string source = procPath(temporary.fd);
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        std::string path = directory + "/" + temporaryName(directory, targetName);
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary.path = std::move(path);
            return;
        }
        if (errno != EEXIST) {
            fail(errno);
        }
    }
    fail(EEXIST);
}

/// A folder that refuses new entries, or a file system that makes none (as /proc).
bool takesNoNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS || error == ENOENT ||
           error == EOPNOTSUPP;
}

/// Makes the rename itself durable; a folder that cannot be opened or synced costs nothing more.
void syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const int error = ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS ? errno : 0;
    ::close(fd);
    if (error != 0) {
        fail(error);
    }
}

} // namespace

void writeFileAtomically(const std::string& path, const std::function<void(OutputSink&)>& produce) {
    protectedFiles().refuse(path);
    const std::string target = resolvedTarget(path);
    struct stat existing {};
    bool exists = true;
    if (::stat(target.c_str(), &existing) != 0) {
        if (errno != ENOENT) {
            fail(errno);
        }
        exists = false;
    }
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            fail(EISDIR);
        }
        if (!S_ISREG(existing.st_mode)) {
            // a device or a pipe is written into; a rename would put a plain file in its place
            writeInPlace(target, produce);
            return;
        }
        // A file that no one may write to is refused whoever saves, as a read-only file is
        // everywhere: an administrator's privileges would replace it, or open a read-only
        // pseudo-file (/proc/version) that fails only at the first write.
        if ((existing.st_mode & 0222) == 0) {
            fail(EACCES);
        }
        // the rename would replace a file the user may not write to; refuse as an open would
        if (::access(target.c_str(), W_OK) != 0) {
            fail(errno);
        }
    }
    const std::string directory = directoryOf(target);
    const std::string name = nameOf(target);
    if (name.empty()) {
        fail(ENOENT); // "folder/" names no file
    }
    removeStaleTemporaries(directory);

    // A replaced file keeps its permissions; a new one gets those of a plain create.
    const mode_t mode = exists ? existing.st_mode & 07777 : 0666;
    Temporary temporary;
    if (const int error = openTemporary(directory, name, mode, temporary); error != 0) {
        // A writable file in a folder that takes no new files can still be rewritten in
        // place, as a plain save would; only then is the old contents at risk.
        if (exists && takesNoNewFiles(error)) {
            if (const InPlaceConsent& consent = inPlaceConsent(); consent && !consent(target)) {
                throw text::Error("The file was not saved: its folder takes no new files, and "
                                  "rewriting it in place was declined.");
            }
            writeInPlace(target, produce, true);
            return;
        }
        fail(error);
    }
    try {
        // the creation mask may have taken bits that the replaced file had
        if (exists && ::fchmod(temporary.fd, mode) != 0) {
            fail(errno);
        }
        fill(temporary.fd, produce);
        if (temporary.unnamed) {
            linkTemporary(temporary, directory, name);
        }
        if (const int error = closeFile(std::exchange(temporary.fd, -1)); error != 0) {
            fail(error);
        }
        if (::rename(temporary.path.c_str(), target.c_str()) != 0) {
            fail(errno);
        }
        temporary.path.clear();
    } catch (...) {
        temporary.discard();
        throw;
    }
    syncDirectory(directory);
}

InPlaceConsent setInPlaceConsent(InPlaceConsent consent) {
    return std::exchange(inPlaceConsent(), std::move(consent));
}

void writeFileAtomically(const std::string& path, std::string_view contents) {
    writeFileAtomically(path, [contents](OutputSink& out) { out.write(contents); });
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace orvane::exporting
