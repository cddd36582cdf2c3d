#include "data/abundance_file.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/element_file.h"
#include "data_test_support.h"
#include "support/recording_notifier.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::data {
namespace {

using support::tabbed;
using testing_support::RecordingNotifier;
using testing_support::TempDirectory;

const std::vector<std::string> headers = {"Width", "p1", "p2", "p3", "p4", "p5", "p6",
                                          "p7",    "p8", "p9", "x0", "x1", "x2", "x3",
                                          "x4",    "x5", "x6", "x7", "x8", "x9", "Elem"};

std::vector<std::string> isotopeRow(const std::string& width, const std::string& p1,
                                    const std::string& x0, const std::string& x1,
                                    const std::string& elem) {
    std::vector<std::string> fields(21, "0");
    fields[0] = width;
    fields[1] = p1;
    fields[10] = x0;
    fields[11] = x1;
    fields[20] = elem;
    return fields;
}

std::vector<std::string> rowCells(const TextGrid& grid, int row, int columns) {
    std::vector<std::string> cells;
    for (int c = 0; c < columns; ++c) {
        cells.push_back(grid.cell(c, row));
    }
    return cells;
}

void expectDesignedState(const TextGrid& isotopes) {
    EXPECT_EQ(isotopes.columnCount(), 21);
    EXPECT_EQ(isotopes.rowCount(), 113);
    for (int r = 0; r < 113; ++r) {
        EXPECT_EQ(rowCells(isotopes, r, 30), std::vector<std::string>(30)) << "row " << r;
    }
}

class AbundanceFile : public ::testing::Test {
protected:
    void SetUp() override { m_tables.elementCount = 2; }

    void load(const std::string& contents) {
        m_dir.write(abundanceFileName, contents);
        loadAbundanceFile(m_dir.path(), m_tables, m_notifier);
    }

    TempDirectory m_dir;
    DataTables m_tables;
    RecordingNotifier m_notifier;
};

TEST_F(AbundanceFile, WorkedExampleAfterTheElementFile) {
    const std::vector<std::string> hydrogen = isotopeRow("2", "1", "99.985", "0.015", "H");
    const std::vector<std::string> carbon = isotopeRow("2", "1", "98.93", "1.07", "C");
    for (const char* lineEnd : {"\r\n", "\n"}) {
        SCOPED_TRACE(::testing::PrintToString(lineEnd));
        DataTables tables;
        m_dir.write(elementFileName,
                    "Atom\tH\tC" + std::string(lineEnd) + "AW\t1.008\t12.011" + lineEnd);
        m_dir.write(abundanceFileName, tabbed(hydrogen) + lineEnd + tabbed(carbon) + lineEnd);
        ASSERT_TRUE(loadElementFile(m_dir.path(), tables, m_notifier));
        loadAbundanceFile(m_dir.path(), tables, m_notifier);

        EXPECT_EQ(tables.isotopes.rowCount(), 3);
        EXPECT_EQ(tables.isotopes.columnCount(), 21);
        EXPECT_EQ(rowCells(tables.isotopes, 0, 21), headers);
        EXPECT_EQ(rowCells(tables.isotopes, 1, 21), hydrogen);
        EXPECT_EQ(rowCells(tables.isotopes, 2, 21), carbon);
        EXPECT_EQ(tables.isotopes.cell(WidthColumn, 2), "2");
        EXPECT_EQ(tables.isotopes.cell(FirstOffsetColumn, 2), "1");
        EXPECT_EQ(tables.isotopes.cell(FirstAbundanceColumn, 2), "98.93");
        EXPECT_EQ(tables.isotopes.cell(ElemColumn, 2), "C");
        EXPECT_EQ(rowCells(tables.isotopes, 3, 21), std::vector<std::string>(21));
    }
    EXPECT_TRUE(m_notifier.notices.empty());
}

TEST_F(AbundanceFile, LastLineWithoutLineEndIsLoaded) {
    load(tabbed(isotopeRow("1", "1", "50", "50", "A")) + "\r\n" +
         tabbed(isotopeRow("3", "2", "90", "10", "B")));
    EXPECT_TRUE(m_notifier.notices.empty());
    EXPECT_EQ(m_tables.isotopes.rowCount(), 3);
    EXPECT_EQ(rowCells(m_tables.isotopes, 2, 21), isotopeRow("3", "2", "90", "10", "B"));
}

TEST_F(AbundanceFile, WrongLineCountIsANoticeAndChangesNothing) {
    const std::string line = tabbed(isotopeRow("1", "1", "50", "50", "A"));
    const std::string contents[] = {
        line + "\r\n" + line + "\r\n\r\n", // a blank line after the data counts
        line + "\r\n" + line + "\r\n" + line,
        line + "\r\n",
        "",
    };
    for (const std::string& c : contents) {
        SCOPED_TRACE(::testing::PrintToString(c));
        m_notifier.notices.clear();
        load(c);
        EXPECT_EQ(m_notifier.notices,
                  (std::vector<std::string>{"The numbers of atoms defined in elems.txt and "
                                            "abundance2.txt are not equal!!  They should be "
                                            "consistent to each other!!"}));
        expectDesignedState(m_tables.isotopes);
    }
}

TEST_F(AbundanceFile, FieldsAreTrimmedOfControlCharactersAndBlanks) {
    std::vector<std::string> fields = isotopeRow("  2 ",
                                                 "\x01"
                                                 "1",
                                                 "99.985\x1f", "\v0.015\f", "");
    fields[2] = std::string(" \0-3\0 ", 6);
    fields[19] = "\xa0"
                 "7\xa0"; // code 160 is not a blank here
    load(tabbed(fields) + "\r\n" + tabbed(isotopeRow("1", "1", "50", "50", " C h ")) + "\r\n");
    EXPECT_EQ(m_tables.isotopes.cell(0, 1), "2");
    EXPECT_EQ(m_tables.isotopes.cell(1, 1), "1");
    EXPECT_EQ(m_tables.isotopes.cell(2, 1), "-3");
    EXPECT_EQ(m_tables.isotopes.cell(10, 1), "99.985");
    EXPECT_EQ(m_tables.isotopes.cell(11, 1), "0.015");
    EXPECT_EQ(m_tables.isotopes.cell(19, 1), "\xa0"
                                             "7\xa0");
    EXPECT_EQ(m_tables.isotopes.cell(ElemColumn, 1), ""); // an empty Elem is fine
    EXPECT_EQ(m_tables.isotopes.cell(ElemColumn, 2), "C h");
}

TEST_F(AbundanceFile, ShortLinesLeaveTheirRemainingCellsEmpty) {
    load(tabbed(isotopeRow("1", "1", "50", "50", "A")) + "\r\n2\t1\t\t9\r\n");
    EXPECT_EQ(m_tables.isotopes.columnCount(), 21);
    EXPECT_EQ(rowCells(m_tables.isotopes, 2, 21),
              (std::vector<std::string>{"2", "1", "", "9", "", "", "", "", "", "", "",
                                        "",  "",  "", "",  "", "", "", "", "", ""}));
}

TEST_F(AbundanceFile, TheFirstLineSetsTheShownColumns) {
    std::vector<std::string> wide = isotopeRow("1", "1", "50", "50", "A");
    for (const char* extra : {"e21", "e22", "e23", "e24"}) {
        wide.push_back(extra);
    }
    load(tabbed(wide) + "\r\n" + tabbed(isotopeRow("1", "1", "50", "50", "B")) + "\t\tx\r\n");
    EXPECT_EQ(m_tables.isotopes.columnCount(), 25);
    EXPECT_EQ(rowCells(m_tables.isotopes, 0, 21), headers);
    EXPECT_EQ(rowCells(m_tables.isotopes, 0, 25)[21], "");
    EXPECT_EQ(rowCells(m_tables.isotopes, 1, 25), wide);
    // fields beyond the shown columns are stored all the same
    EXPECT_EQ(m_tables.isotopes.cell(21, 2), "");
    EXPECT_EQ(m_tables.isotopes.cell(22, 2), "x");

    DataTables tables;
    tables.elementCount = 1;
    m_dir.write(abundanceFileName, "3\t1\t0\r\n");
    loadAbundanceFile(m_dir.path(), tables, m_notifier);
    EXPECT_EQ(tables.isotopes.columnCount(), 3);
    EXPECT_EQ(tables.isotopes.rowCount(), 2);
    EXPECT_EQ(rowCells(tables.isotopes, 0, 21), headers); // header texts beyond shown columns
}

TEST_F(AbundanceFile, WithTheElementFileMissing44LinesAreLoaded) {
    DataTables tables;
    std::string contents;
    for (int r = 1; r <= 44; ++r) {
        std::string symbol = "E";
        symbol += std::to_string(r);
        contents += tabbed(isotopeRow("1", "1", "50", "50", symbol)) + "\r\n";
    }
    m_dir.write(abundanceFileName, contents);
    EXPECT_FALSE(loadElementFile(m_dir.path(), tables, m_notifier));
    loadAbundanceFile(m_dir.path(), tables, m_notifier);

    EXPECT_EQ(m_notifier.notices, std::vector<std::string>{elementFileMissing});
    EXPECT_EQ(tables.isotopes.rowCount(), 45);
    EXPECT_EQ(tables.isotopes.cell(ElemColumn, 44), "E44");
    EXPECT_EQ(tables.elements.columnCount(), 113);
    EXPECT_EQ(tables.elements.cell(1, SymbolRow), "");

    // one line fewer: the count notice, nothing loaded
    DataTables shorter;
    m_notifier.notices.clear();
    m_dir.write(abundanceFileName, contents.substr(contents.find('\n') + 1));
    loadAbundanceFile(m_dir.path(), shorter, m_notifier);
    EXPECT_EQ(m_notifier.notices, std::vector<std::string>{lineCountMismatch});
    expectDesignedState(shorter.isotopes);
}

TEST_F(AbundanceFile, NoElementsAndAnEmptyFileLeaveTheDesignedState) {
    m_tables.elementCount = 0;
    for (const char* contents : {"", "\x1a"
                                     "1\t1\r\n"}) {
        SCOPED_TRACE(::testing::PrintToString(contents));
        load(contents);
        EXPECT_TRUE(m_notifier.notices.empty());
        expectDesignedState(m_tables.isotopes);
    }
}

TEST_F(AbundanceFile, MissingFileIsANotice) {
    loadAbundanceFile(m_dir.path(), m_tables, m_notifier);
    std::filesystem::create_directory(m_dir.file(abundanceFileName));
    loadAbundanceFile(m_dir.path(), m_tables, m_notifier);
    EXPECT_EQ(m_notifier.notices, (std::vector<std::string>{"abundances.txt doest not exit!",
                                                            "abundances.txt doest not exit!"}));
    expectDesignedState(m_tables.isotopes);
}

TEST_F(AbundanceFile, EndOfFileCharacterEndsTheCount) {
    const std::string line = tabbed(isotopeRow("1", "1", "50", "50", "A"));
    load(line + "\n" + line + "\n\x1a" + line + "\n");
    EXPECT_TRUE(m_notifier.notices.empty());
    EXPECT_EQ(m_tables.isotopes.rowCount(), 3);
    EXPECT_EQ(m_tables.isotopes.cell(ElemColumn, 2), "A");
}

TEST_F(AbundanceFile, TabLimitIsCheckedOnEveryLineBeforeLoading) {
    m_tables.elementCount = 3;
    const std::string good = tabbed(isotopeRow("1", "1", "50", "50", "A"));
    try {
        load(good + "\r\n" + good + "\r\n" + std::string(200, '\t') + "\r\n");
        FAIL() << "loaded";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "abundances.txt, line 3: more than 199 TAB characters; the "
                                   "file was not loaded.");
    }
    expectDesignedState(m_tables.isotopes);

    // 199 TABs are still one line of 200 fields
    load(good + "\r\n" + good + "\r\n" + good + std::string(179, '\t') + "last\r\n");
    EXPECT_TRUE(m_notifier.notices.empty());
    EXPECT_EQ(m_tables.isotopes.rowCount(), 4);
    EXPECT_EQ(m_tables.isotopes.cell(199, 3), "last");
}

} // namespace
} // namespace orvane::data
