#include "data/mass_file.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_directory.h"

namespace orvane::data {
namespace {

using testing_support::TempDirectory;

const std::string chlorine = "34.96885268\t36.96590259\t0\t0\t0\t0\t0\t0\t0\t0\tCl";
const std::string carbon = " 12 \t13.00335484\t0\t0\t0\t0\t0\t0\t0\t0\tC";

class MassFile : public ::testing::Test {
protected:
    void SetUp() override { m_tables.elementCount = 2; }
    void load(const std::string& contents) {
        m_dir.write(massFileName, contents);
        loadMassFile(m_dir.path(), m_tables);
    }
    void expectRefused(const std::string& problem) const {
        EXPECT_EQ(m_tables.massFileProblem, problem);
        EXPECT_EQ(m_tables.masses.rowCount(), 0);
        EXPECT_EQ(m_tables.masses.cell(0, 1), ""); // nothing kept from an earlier load
    }

    TempDirectory m_dir;
    DataTables m_tables;
};

TEST_F(MassFile, MissingFileIsRecordedWithoutANotice) {
    expectRefused("masses.txt has not been loaded"); // before any load
    loadMassFile(m_dir.path(), m_tables);
    expectRefused("masses.txt was not found in " + m_dir.path());
    std::filesystem::create_directory(m_dir.file(massFileName));
    loadMassFile(m_dir.path(), m_tables);
    expectRefused("masses.txt was not found in " + m_dir.path());
}

TEST_F(MassFile, WrongLineCountOrTooManyTabsEmptiesTheTable) {
    const struct {
        std::string contents;
        std::string problem;
    } cases[] = {
        {chlorine + "\r\n", "masses.txt has 1 line; the element table has 2 elements"},
        {chlorine + "\r\n" + carbon + "\r\n\r\n", // a blank line after the data counts
         "masses.txt has 3 lines; the element table has 2 elements"},
        {chlorine + "\n" + std::string(200, '\t') + "\n",
         "masses.txt, line 2: more than 199 TAB characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        load(chlorine + "\n" + carbon + "\n");
        ASSERT_EQ(m_tables.massFileProblem, "");
        load(c.contents);
        expectRefused(c.problem);
    }
}

TEST_F(MassFile, LfCrLfAndTheEndOfDataCharacter) {
    for (const std::string& contents :
         {chlorine + "\n" + carbon + "\n", chlorine + "\r\n" + carbon,
          chlorine + "\r\n" + carbon + "\r\n\x1a" + carbon + "\r\n"}) {
        SCOPED_TRACE(::testing::PrintToString(contents));
        load(contents);
        EXPECT_EQ(m_tables.massFileProblem, "");
        EXPECT_EQ(m_tables.masses.rowCount(), 3);
        EXPECT_EQ(m_tables.masses.columnCount(), 11);
        EXPECT_EQ(m_tables.masses.cell(0, 0), "M0");
        EXPECT_EQ(m_tables.masses.cell(MassElemColumn, 0), "Elem");
        EXPECT_EQ(m_tables.masses.cell(1, 1), "36.96590259");
        EXPECT_EQ(m_tables.masses.cell(0, 2), "12"); // trimmed
        EXPECT_EQ(m_tables.masses.cell(MassElemColumn, 2), "C");
        EXPECT_EQ(m_tables.masses.cell(0, 3), "");
    }
}

} // namespace
} // namespace orvane::data
