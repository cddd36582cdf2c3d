#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace orvane::testing_support {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDirectory {
public:
    TempDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed for " + pattern);
        }
        m_path = pattern;
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    /// The directory itself, without a trailing slash.
    const std::string& path() const { return m_path; }
    /// The full name of `name` (which may go through subdirectories) inside the directory.
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    /// Writes the bytes exactly as given (no line-end translation); returns the full name.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    /// The bytes of `name`, empty when it cannot be read.
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    /// The sorted names in the directory (or in its subdirectory `name`), so that a left-over
    /// temporary file shows.
    std::vector<std::string> entries(const std::string& name = {}) const {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(name.empty() ? m_path : file(name))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

} // namespace orvane::testing_support
