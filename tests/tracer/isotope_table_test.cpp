// A peer's isotope table in IsoCor's layout: what it reads, what it refuses with the file,
// line and column, and that a correction given it uses the peer's abundances and masses.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tracer/isotope_table.h"
#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

using support::errorOf;

TEST(IsotopeTable, ReadsIsoCorsLayoutLightestFirstAndOtherColumnOrders) {
    struct Element {
        const char* symbol;
        std::vector<accurate::Isotope> isotopes; // as written: the text's own doubles
    };
    const struct {
        const char* name;
        std::string text;
        std::vector<Element> elements;
    } cases[] = {
        // IsoCor writes its header quoted and a sulfur mass number it lacks as a gap of 0
        {"IsoCor's own",
         "\"element\",\"mass\",\"abundance\"\n"
         "C,13.003354835,0.0107\n"
         " C , 12.0 , 0.9893 \n"
         "\n"
         "S,31.972071174,0.9499\n"
         "S,32.971458910,0.0075\n"
         "S,33.9678670,0.0425\n"
         "S,35.,0.\n"
         "S,35.967081,0.0001\n"
         "P,30.973761998,1.0\r\n",
         {{"C", {{12, 12.0, 0.9893}, {13, 13.003354835, 0.0107}}},
          {"S",
           {{32, 31.972071174, 0.9499},
            {33, 32.971458910, 0.0075},
            {34, 33.9678670, 0.0425},
            {35, 35.0, 0.0},
            {36, 35.967081, 0.0001}}},
          {"P", {{31, 30.973761998, 1.0}}}}},
        {"TABs, columns in any order, others unread",
         "abundance\tnote\telement\tmass\n0.99636\tlight\tN\t14.003074004\n0.00364\t\tN\t15.0001\n",
         {{"N", {{14, 14.003074004, 0.99636}, {15, 15.0001, 0.00364}}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IsotopeTable table = readIsotopeTable(c.text, "Isotopes.dat");
        EXPECT_EQ(table.elements.size(), c.elements.size());
        EXPECT_EQ(table.find("O"), nullptr);
        for (const Element& element : c.elements) {
            SCOPED_TRACE(element.symbol);
            const std::vector<accurate::Isotope>* isotopes = table.find(element.symbol);
            ASSERT_NE(isotopes, nullptr);
            ASSERT_EQ(isotopes->size(), element.isotopes.size());
            for (std::size_t i = 0; i < element.isotopes.size(); ++i) {
                EXPECT_EQ((*isotopes)[i].massNumber, element.isotopes[i].massNumber) << i;
                EXPECT_EQ((*isotopes)[i].mass, element.isotopes[i].mass) << i;
                EXPECT_EQ((*isotopes)[i].probability, element.isotopes[i].probability) << i;
            }
        }
    }
}

TEST(IsotopeTable, RefusesBadLinesWithFileLineAndColumn) {
    struct RefusalCase {
        const char* name;
        const char* text;
        const char* message;
    };
    const char* const header = "element,mass,abundance\n";
    const RefusalCase cases[] = {
        {"empty file", "", "iso.dat: the file holds no header and no isotope"},
        {"header only", "element,mass,abundance\n", "iso.dat: the file holds no isotope"},
        {"no abundance column", "element,mass\nC,12\n",
         "iso.dat, line 1: the header has no column 'abundance'"},
        {"no element", ",12,1\n", "iso.dat, line 2, column 1 (element): the cell is empty"},
        {"mass not a number", "C,12u,1\n",
         "iso.dat, line 2, column 2 (mass): the mass '12u' is not a number above 0"},
        {"mass missing", "C\n",
         "iso.dat, line 2, column 2 (mass): the mass '' is not a number above 0"},
        {"mass 0", "C,0,1\n",
         "iso.dat, line 2, column 2 (mass): the mass '0' is not a number above 0"},
        {"abundance above 1", "C,12,1.5\n",
         "iso.dat, line 2, column 3 (abundance): the abundance '1.5' is not a number of 0 to 1"},
        {"abundance negative", "C,12,-0.1\n",
         "iso.dat, line 2, column 3 (abundance): the abundance '-0.1' is not a number of 0 to "
         "1"},
        {"abundance text", "C,12,most\n",
         "iso.dat, line 2, column 3 (abundance): the abundance 'most' is not a number of 0 to "
         "1"},
        {"same mass number twice", "C,12,0.5\nC,12.2,0.5\n",
         "iso.dat, line 3, column 2 (mass): the mass 12.2 gives C a second isotope of mass "
         "number 12"},
        {"abundances short of 1", "C,12,0.5\nC,13.003354835,0.25\nH,1.0078,1\n",
         "iso.dat, line 3, column 3 (abundance): the abundances of C add up to 0.75, not 1"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text =
            std::string(c.text).rfind("element", 0) == 0 || std::string(c.text).empty()
                ? std::string(c.text)
                : std::string(header) + c.text;
        EXPECT_EQ(errorOf([&] { readIsotopeTable(text, "iso.dat"); }), c.message);
    }
}

// The distribution of a C3N molecule at whole mass steps when 13C is `c13` and 15N `n15`.
std::vector<double> unlabelledC3N(double c13, double n15) {
    std::vector<double> carbon(4);
    for (int k = 0; k <= 3; ++k) {
        carbon[k] = std::tgamma(4.0) / (std::tgamma(k + 1.0) * std::tgamma(4.0 - k)) *
                    std::pow(c13, k) * std::pow(1 - c13, 3 - k);
    }
    std::vector<double> steps(5, 0.0);
    for (int k = 0; k <= 3; ++k) {
        steps[k] += carbon[k] * (1 - n15);
        steps[k + 1] += carbon[k] * n15;
    }
    return steps;
}

TEST(IsotopeTable, CorrectionUsesThePeersAbundances) {
    // a peer whose 13C is 1.1 % and 15N 0.5 %, where the shipped files have 1.07 % and 0.368 %
    const std::string peer = "element,mass,abundance\n"
                             "C,12,0.989\nC,13.003354835,0.011\n"
                             "N,14.003074004,0.995\nN,15.000108899,0.005\n";
    const std::vector<double> measured = unlabelledC3N(0.011, 0.005);
    std::string measurements = "sample\tmetabolite\tderivative\tisotopologue\tarea\n";
    for (int k = 0; k <= 3; ++k) {
        measurements +=
            "S1\tX\t\t" + std::to_string(k) + "\t" + std::to_string(1e6 * measured[k]) + "\n";
    }
    CorrectionInput input;
    input.measurements = readMeasurements(measurements, "measurements.tsv");
    input.metabolites = readNamedFormulas("name\tformula\tcharge\nX\tC3N\t1\n", "m.tsv", true);
    const CorrectionResult shipped = correct(support::shippedTables(), input);
    input.isotopeTable = readIsotopeTable(peer, "peer.dat");
    const CorrectionResult peers = correct(support::shippedTables(), input);
    ASSERT_EQ(peers.rows.size(), 4u);
    // the peer's own unlabelled molecule comes out unlabelled with its table only
    EXPECT_NEAR(peers.rows[0].fraction, 1, 1e-9);
    EXPECT_NEAR(peers.rows[1].fraction, 0, 1e-9);
    EXPECT_NEAR(peers.rows[0].meanEnrichment[0], 0, 1e-9);
    // with the shipped abundances, 0.3 % of 13C and 0.13 % of 15N above them stay as M+1
    EXPECT_NEAR(shipped.rows[1].fraction, 3 * (0.011 - 0.0107) + (0.005 - 0.00368), 2e-4);
}

TEST(IsotopeTable, AnElementTheTableLacksIsRefusedAtItsFormula) {
    CorrectionInput input;
    input.measurements = readMeasurements(
        "sample\tmetabolite\tderivative\tisotopologue\tarea\nS1\tX\t\t0\t1\n", "meas.tsv");
    input.metabolites = readNamedFormulas("name\tformula\tcharge\nX\tC3O\t1\n", "m.tsv", true);
    input.isotopeTable =
        readIsotopeTable("element,mass,abundance\nC,12,0.99\nC,13,0.01\n", "c.dat");
    EXPECT_EQ(errorOf([&] { correct(support::shippedTables(), input); }),
              "m.tsv, line 2, column 2 (formula): the formula 'C3O' cannot be read: the isotope "
              "table c.dat holds no isotope of O");
}

} // namespace
} // namespace orvane::tracer
