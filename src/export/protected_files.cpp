#include "export/protected_files.h"

#include <algorithm>
#include <mutex>

#include <sys/stat.h>

#include "text/error.h"

namespace orvane::exporting {

namespace {

// Batches load and save on several threads. Neither the lock nor the list is ever
// destroyed: a batch worker left waiting for input when the process ends may still be
// running while the statics are torn down.
std::mutex& entriesMutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}

} // namespace

bool ProtectedFiles::stillLoaded(const Entry& entry) {
    struct stat info {};
    return ::stat(entry.path.c_str(), &info) == 0 &&
           static_cast<unsigned long long>(info.st_dev) == entry.device &&
           static_cast<unsigned long long>(info.st_ino) == entry.inode;
}

void ProtectedFiles::add(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return;
    }
    const std::lock_guard lock(entriesMutex());
    // Entries whose path no longer names the file they were loaded from are forgotten:
    // that file is gone, and its inode may now be this one's.
    std::erase_if(m_entries, [](const Entry& e) { return !stillLoaded(e); });
    const Entry entry{static_cast<unsigned long long>(info.st_dev),
                      static_cast<unsigned long long>(info.st_ino), path};
    const bool known = std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.device == entry.device && e.inode == entry.inode;
    });
    if (!known) {
        m_entries.push_back(entry);
    }
}

void ProtectedFiles::clear() {
    const std::lock_guard lock(entriesMutex());
    m_entries.clear();
}

void ProtectedFiles::refuse(const std::string& path) const {
    struct stat info {};
    // stat follows every link; a path that names nothing yet cannot be a data file
    if (::stat(path.c_str(), &info) != 0) {
        return;
    }
    const std::lock_guard lock(entriesMutex());
    for (const Entry& entry : m_entries) {
        // A data file removed since its load no longer counts: its inode may now be another's.
        if (entry.device == static_cast<unsigned long long>(info.st_dev) &&
            entry.inode == static_cast<unsigned long long>(info.st_ino) && stillLoaded(entry)) {
            throw text::Error(path + " is the data file " + entry.path +
                              " that Orvane loaded: it is not overwritten; choose another name");
        }
    }
}

ProtectedFiles& protectedFiles() {
    static ProtectedFiles* const files = new ProtectedFiles;
    return *files;
}

} // namespace orvane::exporting
