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

// Cl (weight 35.45, slot 1 at +2) and C (12.011, slot 1 at +1), as elem.txt and
// abundances.txt give them, so that every line is checked against its element.
class CheckedMassFile : public MassFile {
protected:
    void SetUp() override {
        MassFile::SetUp();
        const struct {
            int column;
            const char* symbol;
            const char* weight;
            const char* offset;
            const char* x0;
            const char* x1;
        } elements[] = {{1, "Cl", "35.45", "2", "75.78", "24.22"},
                        {2, "C", "12,011", "1", "98.93", "1.07"}};
        for (const auto& e : elements) {
            m_tables.elements.setCell(e.column, SymbolRow, e.symbol);
            m_tables.elements.setCell(e.column, WeightRow, e.weight);
            m_tables.isotopes.setCell(FirstOffsetColumn, e.column, e.offset);
            m_tables.isotopes.setCell(FirstAbundanceColumn, e.column, e.x0);
            m_tables.isotopes.setCell(FirstAbundanceColumn + 1, e.column, e.x1);
        }
    }
};

TEST_F(CheckedMassFile, LinesThatDoNotFitTheirElementAreRefused) {
    const std::string rest = "\t0\t0\t0\t0\t0\t0\t0\t0";
    const struct {
        std::string contents;
        std::string problem;
    } cases[] = {
        {carbon + "\n" + chlorine + "\n", // the lines swapped
         "masses.txt, line 1, field Elem: 'C' where the element table has 'Cl'"},
        {"36.96590259\t34.96885268" + rest + "\tCl\n" + carbon + "\n", // the slots swapped
         "masses.txt, line 1, field M0: '36.96590259' is not within 0.5 u of the mass number 35"},
        {chlorine + "\n-12\t13.00335484" + rest + "\tC\n",
         "masses.txt, line 2, field M0: '-12' is not a mass above 0"},
        {chlorine + "\n0\t13.00335484" + rest + "\tC\n",
         "masses.txt, line 2, field M0: '0' is not a mass above 0"},
        {chlorine + "\n12\t1e300" + rest + "\tC\n",
         "masses.txt, line 2, field M1: '1e300' is not within 0.5 u of the mass number 13"},
        {chlorine + "\n12\t13.5" + rest + "\tC\n",
         "masses.txt, line 2, field M1: '13.5' is not within 0.5 u of the mass number 13"},
        {chlorine + "\n12\tthirteen" + rest + "\tC\n",
         "masses.txt, line 2, field M1: 'thirteen' is not a number"},
        {"\xef\xbb\xbf" + chlorine + "\n" + carbon + "\n",
         "masses.txt starts with a byte-order mark (EF BB BF); save it without one"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        load(c.contents);
        expectRefused(c.problem);
    }
}

TEST_F(CheckedMassFile, UnusedSlotsAndADecimalCommaPass) {
    // slot 5 of chlorine has abundance 0, so what it holds is never read
    load("34.96885268\t36.96590259\t0\t0\t0\tjunk\t0\t0\t0\t0\tCl\n12\t13,00335484\t0\t0\t0"
         "\t0\t0\t0\t0\t0\tC\n");
    EXPECT_EQ(m_tables.massFileProblem, "");
    EXPECT_EQ(m_tables.masses.rowCount(), 3);
}

// A half-copied file: empty, or cut inside a line (inside a mass, before the symbol, after
// a TAB). Each is refused, naming the line and the field where it can.
TEST_F(CheckedMassFile, ATruncatedOrEmptyFileIsRefused) {
    const struct {
        std::string contents;
        std::string problem;
    } cases[] = {
        {"", "masses.txt has 0 lines; the element table has 2 elements"},
        {chlorine + "\n12\t13.00", "masses.txt, line 2, field Elem: '' where the element table "
                                   "has 'C'"},
        {chlorine + "\n12\t13.00335484\t0\t0",
         "masses.txt, line 2, field Elem: '' where the element table has 'C'"},
        {chlorine + "\n1", "masses.txt, line 2, field Elem: '' where the element table has 'C'"},
        {chlorine.substr(0, 20), "masses.txt has 1 line; the element table has 2 elements"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.contents));
        load(chlorine + "\n" + carbon + "\n");
        ASSERT_EQ(m_tables.massFileProblem, "");
        load(c.contents);
        expectRefused(c.problem);
    }
}

} // namespace
} // namespace orvane::data
