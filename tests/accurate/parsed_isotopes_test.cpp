#include "accurate/parsed_isotopes.h"

#include <gtest/gtest.h>

#include "accurate/accurate_masses.h"
#include "accurate_test_support.h"
#include "text/error.h"

namespace orvane::accurate {
namespace {

TEST(ParsedIsotopes, KeepsWhatReadingEachColumnGaveErrorsIncluded) {
    data::DataTables tables = support::shippedTables();
    const int carbon = support::columnOf("C");
    const int chlorine = support::columnOf("Cl");
    tables.isotopes.setCell(data::FirstAbundanceColumn + 1, chlorine, "x"); // Cl's x1
    const ParsedIsotopes parsed(tables, '.');
    std::string expected;
    try {
        readElementIsotopes(tables, chlorine, '.');
    } catch (const text::Error& error) {
        expected = error.what();
    }
    ASSERT_FALSE(expected.empty());
    try {
        parsed.of(chlorine);
        ADD_FAILURE() << "Cl was read";
    } catch (const text::Error& error) {
        EXPECT_EQ(error.what(), expected);
    }
    const ElementIsotopes direct = readElementIsotopes(tables, carbon, '.');
    ASSERT_EQ(parsed.of(carbon).isotopes.size(), direct.isotopes.size());
    for (std::size_t i = 0; i < direct.isotopes.size(); ++i) {
        EXPECT_EQ(parsed.of(carbon).isotopes[i].mass, direct.isotopes[i].mass);
        EXPECT_EQ(parsed.of(carbon).isotopes[i].probability, direct.isotopes[i].probability);
    }
    // the masses from either are the same to the last bit
    const std::vector<AtomCount> glucose{
        {carbon, 6}, {support::columnOf("H"), 12}, {support::columnOf("O"), 6}};
    const AccurateMasses once = computeAccurateMasses(glucose, tables, parsed);
    const AccurateMasses each = computeAccurateMasses(glucose, tables, '.');
    EXPECT_EQ(once.monoisotopicMass, each.monoisotopicMass);
    ASSERT_EQ(once.clusters.size(), each.clusters.size());
    for (std::size_t i = 0; i < once.clusters.size(); ++i) {
        EXPECT_EQ(once.clusters[i].mass, each.clusters[i].mass);
        EXPECT_EQ(once.clusters[i].probability, each.clusters[i].probability);
    }
}

} // namespace
} // namespace orvane::accurate
