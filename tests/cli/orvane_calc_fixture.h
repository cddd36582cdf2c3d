#pragma once

// Runs the real orvane-calc on data files written by the tests.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::cli::testing {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

class OrvaneCalc : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("orvane-calc-test-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void write(const std::string& name, const std::string& contents) {
        std::ofstream(m_dir / name, std::ios::binary) << contents;
    }

    // Dichlorine data: Cl 35.45, Width 2, p1 = 2, x0 = 75.77, x1 = 24.23.
    void writeChlorineData() {
        write("elem.txt", "Atom\tCl\r\nAW\t35.45\r\n");
        write("abundances.txt",
              "2\t2\t0\t0\t0\t0\t0\t0\t0\t0\t75.77\t24.23\t0\t0\t0\t0\t0\t0\t0\t0\tCl\r\n");
    }

    // orvane-calc with `arguments` (quoted as a shell would need them), standard input from
    // `input`; `stdoutTarget` replaces the capture of standard output (">/dev/full", ">&-").
    Outcome run(const std::string& arguments, const std::string& input = "",
                const std::string& stdoutTarget = "") {
        const fs::path in = m_dir / "stdin.txt";
        const fs::path out = m_dir / "stdout.txt";
        const fs::path err = m_dir / "stderr.txt";
        std::ofstream(in, std::ios::binary) << input;
        const std::string command =
            m_commandPrefix + "'" + ORVANE_CALC_PATH + "' " + arguments + " <'" + in.string() + "' " +
            (stdoutTarget.empty() ? ">'" + out.string() + "'" : stdoutTarget) + " 2>'" +
            err.string() + "'";
        fs::remove(out);
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
    }

    // orvane-calc in the shipped data's directory, with `arguments`.
    Outcome runShipped(const std::string& arguments, const std::string& input = "") {
        return run(std::string("--data '") + ORVANE_SHARE_DIR + "' " + arguments, input);
    }

    // The value of "Key<TAB>value" lines, and the Peak lines by index.
    static std::map<std::string, std::string> fields(const std::string& out) {
        std::map<std::string, std::string> result;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            const auto tab = line.find('\t');
            std::string key = line.substr(0, tab);
            std::string rest = line.substr(tab + 1);
            if (key == "Peak" || key == "Percent") {
                const auto second = rest.find('\t');
                key += " " + rest.substr(0, second);
                rest = rest.substr(second + 1);
            }
            result[key] = rest;
        }
        return result;
    }

    std::string data() const { return "--data '" + m_dir.string() + "'"; }
    fs::path m_dir;
    // Put before the program in the shell command: "cd ... && VARIABLE=... ".
    std::string m_commandPrefix;
};

} // namespace orvane::cli::testing
