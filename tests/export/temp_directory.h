#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::exporting::testing {

// A fresh directory per test, removed with everything in it afterwards.
class TempDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-export-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    std::string path(const std::string& name) const { return (m_root / name).string(); }

    static void writeText(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string readText(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    /// Names in the directory, so that a left-over temporary file shows.
    std::vector<std::string> entries(const std::string& directory = {}) const {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(directory.empty() ? m_root.string() : directory)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path m_root;
};

} // namespace orvane::exporting::testing
