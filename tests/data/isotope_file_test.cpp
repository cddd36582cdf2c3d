#include "data/isotope_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_directory.h"

namespace orvane::data {
namespace {

using testing_support::TempDirectory;

// isotopes.txt and ame2016.txt are read alike; each names itself and keeps its own list.
struct IsotopeList {
    const char* fileName;
    void (*load)(const std::string&, DataTables&);
    std::vector<KnownIsotope> DataTables::*isotopes;
    std::string DataTables::*problem;
};
const IsotopeList isotopeLists[] = {
    {isotopeFileName, loadIsotopeFile, &DataTables::knownIsotopes, &DataTables::isotopeFileProblem},
    {ame2016FileName, loadAme2016File, &DataTables::ame2016Isotopes,
     &DataTables::ame2016FileProblem},
};

TEST(IsotopeFile, RefusesTheWholeFileNamingLineAndField) {
    struct Case {
        const char* contents;
        const char* problem; // after the file name
    };
    const Case cases[] = {
        {"C\t14\t14.00324199\r\nC\t15\r\n", ", line 2: 2 fields, not 3"},
        {"C\tfourteen\t14.003\n", ", line 1: the mass number \"fourteen\" is not a whole number"},
        {"C\t14\tabc\n", ", line 1: the mass \"abc\" is not a number"},
        {"C\t14\t15.2\n", ", line 1: the mass 15.2 does not belong to mass number 14"},
        {"C\t0\t0.1\n", ", line 1: the mass 0.1 does not belong to mass number 0"},
        {"\t14\t14.003\n", ", line 1: the mass 14.003 does not belong to mass number 14"},
    };
    for (const IsotopeList& list : isotopeLists) {
        SCOPED_TRACE(list.fileName);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.contents);
            TempDirectory dir;
            dir.write(list.fileName, c.contents);
            DataTables tables;
            (tables.*list.isotopes).push_back({"H", 3, 3.016}); // an earlier load's list goes
            list.load(dir.path(), tables);
            EXPECT_EQ(tables.*list.problem, std::string(list.fileName) + c.problem);
            EXPECT_TRUE((tables.*list.isotopes).empty());
        }
        TempDirectory empty;
        DataTables tables;
        list.load(empty.path(), tables);
        EXPECT_EQ(tables.*list.problem,
                  std::string(list.fileName) + " was not found in " + empty.path());
    }
}

TEST(IsotopeFile, ReadsEveryLineTrimmedIntoItsOwnList) {
    for (const IsotopeList& list : isotopeLists) {
        SCOPED_TRACE(list.fileName);
        TempDirectory dir;
        dir.write(list.fileName, " C \t 14 \t14.00324199\r\nH\t3\t3.016049278\nN\t14\t14.003\n");
        DataTables tables;
        list.load(dir.path(), tables);
        EXPECT_EQ(tables.*list.problem, "");
        const std::vector<KnownIsotope>& isotopes = tables.*list.isotopes;
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
        // the other list is left as it was
        const IsotopeList& other = &list == &isotopeLists[0] ? isotopeLists[1] : isotopeLists[0];
        EXPECT_TRUE((tables.*other.isotopes).empty());
        EXPECT_EQ(tables.*other.problem, std::string(other.fileName) + " has not been loaded");
    }
}

} // namespace
} // namespace orvane::data
