// Where orvane-calc finds its data files without --data, and that no output replaces them.

#include <string>

#include <gtest/gtest.h>

#include "cli/orvane_calc_fixture.h"

namespace orvane::cli::testing {
namespace {

// Copies the shipped data files into `folder`.
void copyShippedData(const fs::path& folder) {
    fs::create_directories(folder);
    for (const char* name : {"elem.txt", "abundances.txt", "masses.txt", "isotopes.txt"}) {
        fs::copy_file(fs::path(ORVANE_SHARE_DIR) / name, folder / name);
    }
}

TEST_F(OrvaneCalc, WithoutDataFilesAnywhereTheFoldersLookedInAreNamed) {
    const fs::path empty = m_dir / "empty";
    fs::create_directories(empty);
    m_commandPrefix = "cd '" + empty.string() + "' && XDG_DATA_HOME='" + (m_dir / "home").string() +
                      "' XDG_DATA_DIRS='" + (m_dir / "system").string() + "' ";
    const Outcome result = run("C6H12O6");
    EXPECT_EQ(result.status, 1);
    // the designed notices stay, and what follows names every folder looked in
    EXPECT_NE(result.err.find("elem.txt involving element names"), std::string::npos);
    EXPECT_NE(result.err.find("no element data loaded (elem.txt not found in " + empty.string()),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find((m_dir / "home" / "orvane").string()), std::string::npos);
    EXPECT_NE(result.err.find((m_dir / "system" / "orvane").string()), std::string::npos);
    EXPECT_EQ(result.err.find("unknown element symbol"), std::string::npos) << result.err;
}

TEST_F(OrvaneCalc, TheFirstDataFolderHoldingElemTxtIsUsedAndNamed) {
    struct Case {
        const char* name;
        const char* holder; // the folder given the data files
        bool dataGiven;
        bool notice;
    };
    const Case cases[] = {
        {"the user's folder", "home/orvane", false, true},
        {"a system folder, the second entry", "system2/orvane", false, true},
        {"the working directory comes first", "work", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir / "home");
        fs::remove_all(m_dir / "system2");
        fs::remove_all(m_dir / "work");
        fs::create_directories(m_dir / "work");
        copyShippedData(m_dir / c.holder);
        m_commandPrefix = "cd '" + (m_dir / "work").string() + "' && XDG_DATA_HOME='" +
                          (m_dir / "home").string() + "' XDG_DATA_DIRS='" +
                          (m_dir / "system1").string() + ":" + (m_dir / "system2").string() + "' ";
        const Outcome result = run("C6H12O6");
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("FW\t"), std::string::npos);
        const std::string notice = "notice: data files from " + (m_dir / c.holder).string() + "\n";
        EXPECT_EQ(result.err.find(notice) != std::string::npos, c.notice) << result.err;
    }
}

// Whatever spelling or link leads to it, an output onto a loaded data file is refused, the
// file stays byte for byte and orvane-calc exits with 1.
TEST_F(OrvaneCalc, NoOutputReplacesALoadedDataFile) {
    copyShippedData(m_dir / "data");
    const fs::path data = m_dir / "data";
    fs::create_symlink(data / "abundances.txt", m_dir / "link.txt");
    fs::create_hard_link(data / "masses.txt", m_dir / "hard.txt");
    const std::string elem = readFile(data / "elem.txt");
    const std::string abundances = readFile(data / "abundances.txt");
    const std::string masses = readFile(data / "masses.txt");
    const std::string isotopes = readFile(data / "isotopes.txt");
    const struct {
        const char* option;
        std::string target;
    } cases[] = {
        {"--normal", (data / "elem.txt").string()},
        {"--special", (data / "." / "elem.txt").string()},
        {"--png", (m_dir / "link.txt").string()},
        {"--svg", (data / ".." / "data" / "abundances.txt").string()},
        {"--pdf", (data / "masses.txt").string()},
        {"--profile", (m_dir / "hard.txt").string()},
        {"--hires-png", (data / "elem.txt").string()},
        {"--normal", (data / "isotopes.txt").string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const Outcome result = run("--data '" + data.string() + "' --ion '[M+H]+' " + c.option +
                                   " '" + c.target + "' C6H12O6");
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("that Orvane loaded: it is not overwritten"), std::string::npos)
            << result.err;
        EXPECT_EQ(readFile(data / "elem.txt"), elem);
        EXPECT_EQ(readFile(data / "abundances.txt"), abundances);
        EXPECT_EQ(readFile(data / "masses.txt"), masses);
        EXPECT_EQ(readFile(data / "isotopes.txt"), isotopes);
    }
    // a new file beside them is written as always
    const Outcome result = run("--data '" + data.string() + "' --normal '" +
                               (data / "glucose.txt").string() + "' C6H12O6");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(data / "glucose.txt"));
}

} // namespace
} // namespace orvane::cli::testing
