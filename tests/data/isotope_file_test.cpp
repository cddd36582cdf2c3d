#include "data/isotope_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_directory.h"

namespace orvane::data {
namespace {

using testing_support::TempDirectory;

TEST(IsotopeFile, RefusesTheWholeFileNamingLineAndField) {
    struct Case {
        const char* contents;
        const char* problem; // after the file name; "" when it loads
    };
    const Case cases[] = {
        {"C\t14\t14.00324199\r\nC\t15\r\n", ", line 2: 2 fields, not 3"},
        {"C\tfourteen\t14.003\n", ", line 1: the mass number \"fourteen\" is not a whole number"},
        {"C\t14\tabc\n", ", line 1: the mass \"abc\" is not a number"},
        {"C\t14\t15.2\n", ", line 1: the mass 15.2 does not belong to mass number 14"},
        {"C\t0\t0.1\n", ", line 1: the mass 0.1 does not belong to mass number 0"},
        {"\t14\t14.003\n", ", line 1: the mass 14.003 does not belong to mass number 14"},
        // a copy cut inside the mass of 14C: the number left reads, but wrong
        {"C\t13\t13.00335483507\r\nC\t14\t14.003", ", line 2: the line has no end; the file "
                                                   "seems cut short"},
        {"C\t13\t13.00335483507\r\nC\t14\t14.00324198843\r", ", line 2: the line has no end; "
                                                             "the file seems cut short"},
        // what ends at a line end, or where 0x1A ends the data, is whole
        {"C\t13\t13.00335483507\r\n", ""},
        {"C\t13\t13.00335483507\r\n\x1a", ""},
        {"C\t13\t13.00335483507\x1a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contents);
        TempDirectory dir;
        dir.write(isotopeFileName, c.contents);
        DataTables tables;
        tables.knownIsotopes.push_back({"H", 3, 3.016}); // an earlier load's list goes
        loadIsotopeFile(dir.path(), tables);
        if (*c.problem == '\0') {
            EXPECT_EQ(tables.isotopeFileProblem, "");
            ASSERT_EQ(tables.knownIsotopes.size(), 1u);
            EXPECT_EQ(tables.knownIsotopes[0].mass, 13.00335483507);
        } else {
            EXPECT_EQ(tables.isotopeFileProblem, std::string(isotopeFileName) + c.problem);
            EXPECT_TRUE(tables.knownIsotopes.empty());
        }
    }
    TempDirectory empty;
    DataTables tables;
    loadIsotopeFile(empty.path(), tables);
    EXPECT_EQ(tables.isotopeFileProblem,
              std::string(isotopeFileName) + " was not found in " + empty.path());
}

TEST(IsotopeFile, ReadsEveryLineTrimmed) {
    TempDirectory dir;
    dir.write(isotopeFileName, " C \t 14 \t14.00324199\r\nH\t3\t3.016049278\nN\t14\t14.003\n");
    DataTables tables;
    loadIsotopeFile(dir.path(), tables);
    EXPECT_EQ(tables.isotopeFileProblem, "");
    const std::vector<KnownIsotope>& isotopes = tables.knownIsotopes;
    ASSERT_EQ(isotopes.size(), 3u);
    EXPECT_EQ(isotopes[0].symbol, "C");
    EXPECT_EQ(isotopes[0].massNumber, 14);
    EXPECT_EQ(isotopes[0].mass, 14.00324199);
    EXPECT_EQ(isotopes[1].symbol, "H");
    // found by symbol and mass number together: C14 and N14 share the number
    EXPECT_EQ(findIsotope(isotopes, "N", 14), &isotopes[2]);
    EXPECT_EQ(findIsotope(isotopes, "C", 14), &isotopes[0]);
    EXPECT_EQ(findIsotope(isotopes, "C", 13), nullptr);
    EXPECT_EQ(findIsotope(isotopes, "He", 3), nullptr);
}

} // namespace
} // namespace orvane::data
