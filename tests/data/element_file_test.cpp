#include "data/element_file.h"

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "data/data_file_reader.h"
#include "data_test_support.h"
#include "support/recording_notifier.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::data {
namespace {

using support::tabbed;
using testing_support::RecordingNotifier;
using testing_support::TempDirectory;
using Rows = std::vector<std::vector<std::string>>;

// The shown cells of a grid, row by row.
Rows shownCells(const TextGrid& grid) {
    Rows rows(static_cast<std::size_t>(grid.rowCount()));
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            rows[static_cast<std::size_t>(r)].push_back(grid.cell(c, r));
        }
    }
    return rows;
}

void expectDesignedState(const DataTables& tables) {
    EXPECT_EQ(tables.elementCount, 44);
    EXPECT_EQ(tables.elements.columnCount(), 113);
    EXPECT_EQ(tables.elements.rowCount(), 5);
    const DataTables designed;
    EXPECT_EQ(shownCells(tables.elements), shownCells(designed.elements));
}

class ElementFile : public ::testing::Test {
protected:
    bool load(const std::string& contents) {
        m_dir.write(elementFileName, contents);
        return loadElementFile(m_dir.path(), m_tables, m_notifier);
    }

    TempDirectory m_dir;
    DataTables m_tables;
    RecordingNotifier m_notifier;
};

TEST_F(ElementFile, WorkedExampleWithEitherLineEnd) {
    const Rows expected = {
        {"", "1", "2", "3"},      {"Atom", "H", "C", "N"},      {"AW", "1.008", "12.011", "14.007"},
        {"Count", "0", "0", "0"}, {"Weight(%)", "0", "0", "0"},
    };
    for (const char* lineEnd : {"\r\n", "\n"}) {
        SCOPED_TRACE(::testing::PrintToString(lineEnd));
        DataTables tables;
        m_dir.write(elementFileName,
                    "Atom\tH\tC\tN" + std::string(lineEnd) + "AW\t1.008\t12.011\t14.007" + lineEnd);
        ASSERT_TRUE(loadElementFile(m_dir.path(), tables, m_notifier));
        EXPECT_EQ(tables.elementCount, 3);
        EXPECT_EQ(shownCells(tables.elements), expected);
    }
    EXPECT_TRUE(m_notifier.notices.empty());
}

TEST_F(ElementFile, TrailingTabAddsAnElementWithAnEmptySymbol) {
    ASSERT_TRUE(load("Atom\tH\tC\t\r\nAW\t1.008\t12.011\t\r\n"));
    EXPECT_EQ(m_tables.elementCount, 3);
    EXPECT_EQ(m_tables.elements.columnCount(), 4);
    EXPECT_EQ(m_tables.elements.cell(3, HeaderRow), "3");
    EXPECT_EQ(m_tables.elements.cell(3, SymbolRow), "");
    EXPECT_EQ(m_tables.elements.cell(3, WeightRow), "");
    EXPECT_EQ(m_tables.elements.cell(3, CountRow), "0");
}

TEST_F(ElementFile, FieldsAreStoredAsTheyStand) {
    ASSERT_TRUE(load(" Atom \t H \tC  \r\n\tx1.008 \t\r\n"));
    EXPECT_EQ(m_tables.elements.cell(0, SymbolRow), " Atom ");
    EXPECT_EQ(m_tables.elements.cell(1, SymbolRow), " H ");
    EXPECT_EQ(m_tables.elements.cell(2, SymbolRow), "C  ");
    EXPECT_EQ(m_tables.elements.cell(0, WeightRow), "");
    EXPECT_EQ(m_tables.elements.cell(1, WeightRow), "x1.008 ");
    EXPECT_EQ(m_tables.elements.cell(2, WeightRow), "");
}

TEST_F(ElementFile, OnlyASymbolsLineGivesEmptyWeights) {
    for (const char* contents : {"Atom\tH\tC", "Atom\tH\tC\r\n"}) {
        SCOPED_TRACE(::testing::PrintToString(contents));
        DataTables tables;
        m_dir.write(elementFileName, contents);
        ASSERT_TRUE(loadElementFile(m_dir.path(), tables, m_notifier));
        EXPECT_EQ(shownCells(tables.elements), (Rows{{"", "1", "2"},
                                                     {"Atom", "H", "C"},
                                                     {"", "", ""},
                                                     {"Count", "0", "0"},
                                                     {"Weight(%)", "0", "0"}}));
    }
}

TEST_F(ElementFile, EmptyFileGivesNoElements) {
    ASSERT_TRUE(load(""));
    EXPECT_EQ(m_tables.elementCount, 0);
    EXPECT_EQ(shownCells(m_tables.elements), (Rows{{""}, {""}, {""}, {"Count"}, {"Weight(%)"}}));
}

TEST_F(ElementFile, WeightsLineOfADifferentLength) {
    ASSERT_TRUE(load("Atom\tH\tC\r\nAW\t1.008\t12.011\t14.007\t99\r\n"));
    EXPECT_EQ(m_tables.elementCount, 2);
    EXPECT_EQ(m_tables.elements.cell(2, WeightRow), "12.011");
    EXPECT_EQ(m_tables.elements.cell(3, WeightRow), ""); // surplus fields are not stored

    // A shorter weights line leaves the weights it lacks empty; the calculation then
    // reports '' as not a number when such an element is used.
    DataTables tables;
    m_dir.write(elementFileName, "Atom\tH\tC\tN\r\nAW\t1.008\r\n");
    ASSERT_TRUE(loadElementFile(m_dir.path(), tables, m_notifier));
    EXPECT_EQ(tables.elementCount, 3);
    EXPECT_EQ(shownCells(tables.elements)[WeightRow],
              (std::vector<std::string>{"AW", "1.008", "", ""}));
    EXPECT_EQ(tables.elements.cell(3, CountRow), "0");
    EXPECT_EQ(tables.elements.cell(3, PercentRow), "0");
}

TEST_F(ElementFile, LinesAfterTheSecondAreIgnored) {
    ASSERT_TRUE(load("Atom\tH\r\nAW\t1.008\r\nCount\t7\r\nmore\tH\tC\tN\r\n"));
    EXPECT_EQ(m_tables.elementCount, 1);
    EXPECT_EQ(
        shownCells(m_tables.elements),
        (Rows{{"", "1"}, {"Atom", "H"}, {"AW", "1.008"}, {"Count", "0"}, {"Weight(%)", "0"}}));
}

TEST_F(ElementFile, EndOfFileCharacterEndsTheData) {
    ASSERT_TRUE(load("Atom\tH\tC\r\nAW\t1.008\x1a\t12.011\r\n"));
    EXPECT_EQ(m_tables.elements.cell(1, WeightRow), "1.008");
    EXPECT_EQ(m_tables.elements.cell(2, WeightRow), "");

    DataTables tables;
    m_dir.write(elementFileName, "Atom\tH\x1a\tC\r\nAW\t1.008\t12.011\r\n");
    ASSERT_TRUE(loadElementFile(m_dir.path(), tables, m_notifier));
    EXPECT_EQ(tables.elementCount, 1);
    EXPECT_EQ(tables.elements.cell(0, WeightRow), "");
}

TEST_F(ElementFile, LoneCarriageReturnsAreDropped) {
    ASSERT_TRUE(load("Atom\tH\re\r\nAW\t4.0026\r"));
    EXPECT_EQ(m_tables.elements.cell(1, SymbolRow), "He");
    EXPECT_EQ(m_tables.elements.cell(1, WeightRow), "4.0026");
}

TEST_F(ElementFile, MissingFileIsANoticeAndChangesNothing) {
    EXPECT_FALSE(loadElementFile(m_dir.path(), m_tables, m_notifier));
    EXPECT_EQ(m_notifier.notices,
              (std::vector<std::string>{"elem.txt involving element names and their atomic "
                                        "weights doest not exit!"}));
    expectDesignedState(m_tables);
}

TEST_F(ElementFile, ADirectoryCountsAsMissing) {
    std::filesystem::create_directory(m_dir.file(elementFileName));
    EXPECT_FALSE(loadElementFile(m_dir.path(), m_tables, m_notifier));
    EXPECT_EQ(m_notifier.notices, std::vector<std::string>{elementFileMissing});
    expectDesignedState(m_tables);
}

TEST_F(ElementFile, RootLikeDirectoryTextWithItsOwnSeparator) {
    m_dir.write(elementFileName, "Atom\tH\r\nAW\t1.008\r\n");
    ASSERT_TRUE(loadElementFile(m_dir.path() + "/", m_tables, m_notifier));
    EXPECT_EQ(m_tables.elements.cell(1, SymbolRow), "H");
}

TEST_F(ElementFile, OneHundredNinetyNineTabsLoad199Elements) {
    std::vector<std::string> symbols{"Atom"};
    std::vector<std::string> weights{"AW"};
    for (int c = 1; c <= 199; ++c) {
        std::string symbol = "E";
        symbol += std::to_string(c);
        symbols.push_back(symbol);
        weights.push_back(std::to_string(c) + ".5");
    }
    ASSERT_TRUE(load(tabbed(symbols) + "\r\n" + tabbed(weights) + "\r\n"));
    EXPECT_EQ(m_tables.elementCount, 199);
    EXPECT_EQ(m_tables.elements.columnCount(), 200);
    EXPECT_EQ(m_tables.elements.cell(199, HeaderRow), "199");
    EXPECT_EQ(m_tables.elements.cell(199, SymbolRow), "E199");
    EXPECT_EQ(m_tables.elements.cell(199, WeightRow), "199.5");
    EXPECT_EQ(m_tables.elements.cell(199, PercentRow), "0");
}

TEST_F(ElementFile, MoreThan199TabsRefuseTheFileUnchanged) {
    const std::string wide = "Atom" + std::string(200, '\t');
    struct RefusedCase {
        std::string contents;
        const char* message;
    };
    const RefusedCase cases[] = {
        {wide + "\r\nAW\t1\r\n",
         "elem.txt, line 1: more than 199 TAB characters; the file was not loaded."},
        {"Atom\tH\r\n" + wide + "\r\n",
         "elem.txt, line 2: more than 199 TAB characters; the file was not loaded."},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.message);
        m_dir.write(elementFileName, c.contents);
        try {
            loadElementFile(m_dir.path(), m_tables, m_notifier);
            FAIL() << "loaded";
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        expectDesignedState(m_tables);
    }
    EXPECT_TRUE(m_notifier.notices.empty());
}

TEST_F(ElementFile, AnUnreadableFileRaisesItsError) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not stop root from reading";
    }
    const std::string path = m_dir.write(elementFileName, "Atom\tH\r\nAW\t1.008\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    try {
        loadElementFile(m_dir.path(), m_tables, m_notifier);
        FAIL() << "loaded";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "ファイルへのアクセスが拒否されました");
    }
    expectDesignedState(m_tables);
}

TEST_F(ElementFile, AReadErrorStopsTheLoad) {
    // /proc/self/mem is a regular file whose first bytes cannot be read (EIO).
    std::error_code failed;
    std::filesystem::create_symlink("/proc/self/mem", m_dir.file(elementFileName), failed);
    if (failed || !isRegularFile(m_dir.file(elementFileName))) {
        GTEST_SKIP() << "no /proc/self/mem";
    }
    try {
        loadElementFile(m_dir.path(), m_tables, m_notifier);
        FAIL() << "loaded";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "I/O エラー (5)");
    }
    EXPECT_TRUE(m_notifier.notices.empty());
    expectDesignedState(m_tables);
}

} // namespace
} // namespace orvane::data
