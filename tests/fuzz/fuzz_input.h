#pragma once

// What the harnesses share: the input as text, and a scratch folder for the readers that
// take files.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::fuzz {

inline std::string textOf(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// One folder per process, kept for the run: the harnesses are called millions of times.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("orvane-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

inline std::string writeScratch(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = scratchFolder() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path.string();
}

} // namespace orvane::fuzz
