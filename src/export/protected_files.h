#pragma once

#include <string>
#include <vector>

namespace orvane::exporting {

// The data files this process loaded (elem.txt, abundances.txt, masses.txt, ...). No save
// may replace one of them, whatever the path it is given by: another spelling, a symbolic
// or a hard link all name the same file, so files are compared by device and inode.
class ProtectedFiles {
public:
    /// Adds the file at `path`; a path that names no file is ignored.
    void add(const std::string& path);
    /// Forgets every file (a new load, a test).
    void clear();
    /// Raises text::Error naming the data file when `path` names one of them.
    void refuse(const std::string& path) const;

private:
    struct Entry {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        std::string path; // as loaded, for the message
    };
    static bool stillLoaded(const Entry& entry);
    std::vector<Entry> m_entries;
};

/// The process's list, filled by the loads and asked by every save.
ProtectedFiles& protectedFiles();

} // namespace orvane::exporting
