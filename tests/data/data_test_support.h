#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/notifier.h"

namespace orvane::data::support {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-data-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    /// Writes the bytes exactly as given (no line-end translation).
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = file(name);
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        return path;
    }

private:
    std::string m_path;
};

// Keeps every notice, in order, for the test to compare.
class RecordingNotifier : public text::Notifier {
public:
    void notify(const std::string& message) override { notices.push_back(message); }
    bool confirm(const std::string& message) override {
        notices.push_back(message);
        return true;
    }
    std::vector<std::string> notices;
};

/// Joins fields with TABs, as the data files separate them.
inline std::string tabbed(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i > 0 ? "\t" : "") + fields[i];
    }
    return line;
}

} // namespace orvane::data::support
