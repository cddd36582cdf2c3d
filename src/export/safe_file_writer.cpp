#include "export/safe_file_writer.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/error.h"

namespace orvane::exporting {

namespace {

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

/// The process's file creation mask, read without changing it where the system tells it.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

/// Writing through a symbolic link replaces the file it points to, not the link.
std::string resolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

bool writeAll(int fd, const std::string& contents) {
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

/// Writes into the file itself, truncating it: for what cannot be replaced by a rename.
void writeInPlace(const std::string& path, const std::string& contents) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw text::Error::fromErrno(errno);
    }
    if (!writeAll(fd, contents)) {
        const int error = errno;
        ::close(fd);
        throw text::Error::fromErrno(error);
    }
    if (::close(fd) != 0) {
        throw text::Error::fromErrno(errno);
    }
}

/// Makes the rename itself durable; a directory that cannot be synced costs nothing more.
void syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void writeFileAtomically(const std::string& path, const std::string& contents) {
    const std::string target = resolvedTarget(path);
    const std::string directory = directoryOf(target);

    // A replaced file keeps its permissions; a new one gets those of a plain create.
    mode_t mode = 0666 & ~currentUmask();
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        // a device or a pipe is written into; a rename would put a plain file in its place
        writeInPlace(target, contents);
        return;
    }
    if (exists && S_ISREG(existing.st_mode)) {
        // the rename would replace a file the user may not write to; refuse as an open would
        if (::access(target.c_str(), W_OK) != 0) {
            throw text::Error::fromErrno(errno);
        }
        mode = existing.st_mode & 07777;
    }

    const std::string pattern = directory + "/." + nameOf(target) + ".XXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        // A writable file in a folder that takes no new files can still be rewritten in
        // place, as a plain save would; only then is the old contents at risk.
        if (exists && (error == EACCES || error == EPERM || error == EROFS)) {
            writeInPlace(target, contents);
            return;
        }
        throw text::Error::fromErrno(error);
    }

    const auto fail = [&](bool stillOpen) {
        const int error = errno;
        if (stillOpen) {
            ::close(fd);
        }
        ::unlink(temporary.data());
        throw text::Error::fromErrno(error);
    };
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, contents) || ::fsync(fd) != 0) {
        fail(true);
    }
    if (::close(fd) != 0) {
        fail(false);
    }
    if (::rename(temporary.data(), target.c_str()) != 0) {
        fail(false);
    }
    syncDirectory(directory);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace orvane::exporting
