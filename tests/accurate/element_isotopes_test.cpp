#include "accurate/element_isotopes.h"

#include <gtest/gtest.h>

#include "accurate_test_support.h"
#include "support/temp_directory.h"

namespace orvane::accurate {
namespace {

using support::errorOf;

// Li (weight 6.94: slot 0 is 7, slot 1 offset -1) and Cl (slot 0 35, slot 1 +2), with a
// mass that is no number in a slot of abundance 0.
data::DataTables smallTables() {
    testing_support::TempDirectory dir;
    dir.write("elem.txt", "Atom\tLi\tCl\r\nAW\t6.94\t35.45\r\n");
    dir.write("abundances.txt",
              "1\t-1\t0\t0\t0\t0\t0\t0\t0\t0\t92.41\t7.59\t0\t0\t0\t0\t0\t0\t0\t0\tLi\n"
              "2\t2\t0\t0\t0\t0\t0\t0\t0\t0\t75.78\t24.22\t0\t0\t0\t0\t0\t0\t0\t0\tCl\n");
    dir.write("masses.txt", "7.01600455\t6.015122795\t0\t0\t0\t0\t0\t0\t0\t0\tLi\n"
                            "34.96885268\t36.96590259\t0\t0\t0\tjunk\t0\t0\t0\t0\tCl\n");
    return support::loadTables(dir.path());
}

TEST(ElementIsotopes, RefusalsNameFileLineAndField) {
    using data::DataTables;
    const struct {
        data::TextGrid DataTables::*grid;
        int column;
        const char* text; // for row 2, Cl
        std::string message;
    } cases[] = {
        {&DataTables::masses, 1, "", "masses.txt, line 2, field M1: '' is not a number"},
        {&DataTables::isotopes, 11, "abc",
         "abundances.txt, line 2, field x1: 'abc' is not a number"},
        {&DataTables::isotopes, 1, "2.5",
         "abundances.txt, line 2, field p1: '2.5' is not a whole number"},
        {&DataTables::elements, 2, "35,45x",
         "elem.txt, line 2, field Cl: '35,45x' is not a number"},
        {&DataTables::isotopes, 10, "-1", "abundances.txt, line 2, field x0: '-1' is below 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        DataTables tables = smallTables();
        (tables.*c.grid).setCell(c.column, 2, c.text);
        EXPECT_EQ(errorOf([&] { readElementIsotopes(tables, 2, ','); }), c.message);
    }

    DataTables tables = smallTables();
    tables.elements.setCell(2, data::WeightRow, "9223372036854774784"); // 2^63 - 1024
    tables.isotopes.setCell(1, 2, "2000");
    EXPECT_EQ(errorOf([&] { readElementIsotopes(tables, 2, '.'); }),
              "abundances.txt, line 2, field p1: the mass number 9223372036854774784 + 2000 is "
              "too large");

    tables = smallTables();
    tables.isotopes.setCell(10, 2, "0,0");
    tables.isotopes.setCell(11, 2, "0");
    EXPECT_EQ(errorOf([&] { readElementIsotopes(tables, 2, ','); }),
              "abundances.txt, line 2: the abundances x0 to x9 of Cl add to 0");
    tables.elementCount = 3; // elem.txt was loaded again after masses.txt
    EXPECT_EQ(errorOf([&] { readElementIsotopes(tables, 1, '.'); }),
              "masses.txt has 2 lines; the element table has 3 elements");
    tables.massFileProblem = "masses.txt was not found in /nowhere";
    EXPECT_EQ(errorOf([&] { readElementIsotopes(tables, 1, '.'); }),
              "masses.txt was not found in /nowhere");
}

TEST(ElementIsotopes, MassNumbersMassesAndProbabilities) {
    data::DataTables tables = smallTables();
    const ElementIsotopes lithium = readElementIsotopes(tables, 1, '.');
    ASSERT_EQ(lithium.isotopes.size(), 2u);
    EXPECT_EQ(lithium.isotopes[0].massNumber, 7);
    EXPECT_EQ(lithium.isotopes[1].massNumber, 6);
    EXPECT_EQ(lithium.isotopes[1].mass, 6.015122795);
    EXPECT_NEAR(lithium.isotopes[1].probability, 0.0759, 1e-16);
    EXPECT_EQ(lithium.mostAbundant().massNumber, 7);

    // either decimal point under a comma locale; abundances taken relative to their sum;
    // of equally abundant isotopes the lighter is the most abundant
    tables.masses.setCell(0, 2, "34,96885268");
    tables.isotopes.setCell(10, 2, "1,5");
    tables.isotopes.setCell(11, 2, "1.5");
    const ElementIsotopes chlorine = readElementIsotopes(tables, 2, ',');
    ASSERT_EQ(chlorine.isotopes.size(), 2u);
    EXPECT_EQ(chlorine.isotopes[0].mass, 34.96885268);
    EXPECT_EQ(chlorine.isotopes[1].massNumber, 37);
    EXPECT_EQ(chlorine.isotopes[1].probability, 0.5);
    EXPECT_EQ(chlorine.mostAbundant().massNumber, 35);
    EXPECT_NE(errorOf([&] { readElementIsotopes(tables, 2, '.'); }), "no error"); // "34,9"
}

} // namespace
} // namespace orvane::accurate
