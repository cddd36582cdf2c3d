// orvane-calc --correct end to end: the files of a small tracer experiment written by the
// test, the shipped data files, the table on standard output and the refusals on stderr.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/orvane_calc_fixture.h"

namespace orvane::cli::testing {
namespace {

class OrvaneCalcCorrect : public OrvaneCalc {
protected:
    void SetUp() override {
        OrvaneCalc::SetUp();
        // IsoCor's fumarate with its measured areas, and a TMS derivative of lactate
        write("measurements.tsv", "sample\tmetabolite\tderivative\tisotopologue\tarea\tresolution\n"
                                  "S1\tFum\t\t0\t376000\t70000\n"
                                  "S1\tFum\t\t1\t235000\t70000\n"
                                  "S1\tFum\t\t2\t127000\t70000\n"
                                  "S1\tFum\t\t3\t143000\t70000\n"
                                  "S1\tFum\t\t4\t40000\t70000\n");
        write("metabolites.tsv", "name\tformula\tcharge\nFum\tC4H3O4\t-1\n");
        write("derivatives.tsv", "name\tformula\nTMS\tC3H9Si\n");
    }
    std::string files() const {
        return "--correct '" + (m_dir / "measurements.tsv").string() + "' --metabolites '" +
               (m_dir / "metabolites.tsv").string() + "' ";
    }
};

TEST_F(OrvaneCalcCorrect, WritesIsoCorsColumnsAtLowResolution) {
    const Outcome outcome = runShipped(files() + "--tracer 13C --purity 0.01,0.99");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const std::string header = "sample\tmetabolite\tderivative\tisotopologue\tarea\t"
                               "corrected_area\tisotopologue_fraction\tresiduum\t"
                               "mean_enrichment\n";
    ASSERT_EQ(outcome.out.substr(0, header.size()), header);
    // IsoCor 2.2.3 gives 394197.8038 for M+0 and a mean enrichment of 0.2849647608
    EXPECT_NE(outcome.out.find("S1\tFum\t\t0\t376000\t394197.80"), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\t0.28496476"), std::string::npos);
    EXPECT_EQ(std::count(outcome.out.begin(), outcome.out.end(), '\n'), 6);
}

TEST_F(OrvaneCalcCorrect, HighResolutionJsonHoldsNumbers) {
    const Outcome outcome =
        runShipped(files() + "--purity 99 --resolution 70000 --resolution-at 400 "
                             "--instrument orbitrap --format json");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json rows = nlohmann::json::parse(outcome.out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0]["metabolite"], "Fum");
    EXPECT_EQ(rows[0]["isotopologue"], "0");
    // IsoCor at Orbitrap 70000 at m/z 400: 394196.7605
    EXPECT_NEAR(rows[0]["corrected_area"].get<double>(), 394196.7605, 1e-3);
    EXPECT_NEAR(rows[4]["mean_enrichment"].get<double>(), 0.2875506369, 1e-9);
}

TEST_F(OrvaneCalcCorrect, NormalizedSheetAsCsv) {
    const Outcome outcome = runShipped(files() + "--sheet normalized --format csv");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.substr(0, outcome.out.find('\n')), "Compound,Formula,IsotopeLabel,S1");
    EXPECT_NE(outcome.out.find("\nFum,C4H3O4,C12 PARENT,0.4"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("\nFum,C4H3O4,C13-label-4,0.0"), std::string::npos);
}

TEST_F(OrvaneCalcCorrect, AccuCorLayoutCarriesItsFormulas) {
    write("accucor.csv", "Compound,Formula,IsotopeLabel,S1,S2\n"
                         "Fum,C4H3O4,C12 PARENT,376000,1000\n"
                         "Fum,C4H3O4,C13-label-1,235000,0\n"
                         "Fum,C4H3O4,C13-label-2,127000,0\n"
                         "Fum,C4H3O4,C13-label-3,143000,0\n"
                         "Fum,C4H3O4,C13-label-4,40000,0\n");
    const Outcome outcome = runShipped("--correct '" + (m_dir / "accucor.csv").string() +
                                       "' --sheet corrected --purity 0.01,0.99");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Fum\tC4H3O4\tC12 PARENT\t394197.80"), std::string::npos)
        << outcome.out;
}

TEST_F(OrvaneCalcCorrect, IsotopeTableReplacesTheDataFilesIsotopes) {
    // IsoCor's table in its own layout, but with 1.1 % of 13C where the data files have 1.07 %
    write("isotopes.dat",
          "\"element\",\"mass\",\"abundance\"\n"
          "H,1.0078250322,0.999885\nH,2.0141017781,0.000115\n"
          "C,12.0,0.989\nC,13.003354835,0.011\n"
          "O,15.99491462,0.99757\nO,16.999131757,0.00038\nO,17.999159613,0.00205\n");
    const Outcome outcome = runShipped(files() + "--purity 0.01,0.99 --isotope-table '" +
                                       (m_dir / "isotopes.dat").string() + "'");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    // IsoCor 2.2.3 given the same table: 394681.2101 for M+0 and a mean enrichment of
    // 0.2847456489 (with the data files' 1.07 %: 394197.8038 and 0.2849647608)
    EXPECT_NE(outcome.out.find("S1\tFum\t\t0\t376000\t394681.210"), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\t0.28474564"), std::string::npos);

    write("bad.dat", "element,mass,abundance\nC,12,0.9893\nC,13.003354835,1.0107\n");
    const Outcome refused =
        runShipped(files() + "--isotope-table '" + (m_dir / "bad.dat").string() + "'");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "orvane-calc: " + (m_dir / "bad.dat").string() +
                               ", line 3, column 3 (abundance): the abundance '1.0107' is not a "
                               "number of 0 to 1\n");
}

TEST_F(OrvaneCalcCorrect, RefusalsNameTheFileLineAndColumn) {
    write("bad.tsv", "sample\tmetabolite\tderivative\tisotopologue\tarea\n"
                     "S1\tFum\t\t0\t-5\n");
    Outcome outcome = runShipped("--correct '" + (m_dir / "bad.tsv").string() +
                                 "' --metabolites '" + (m_dir / "metabolites.tsv").string() + "'");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "orvane-calc: " + (m_dir / "bad.tsv").string() +
                               ", line 2, column 5 (area): the area -5 is negative\n");
    outcome = runShipped(files() + "--purity 0.02,0.99");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "orvane-calc: the purity '0.02,0.99' of 13C adds up to 1.01, not 1\n");
    outcome = runShipped(files() + "--instrument qtof --resolution 1e4");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("--correct takes orbitrap, ftcr or constant, not 'qtof'"),
              std::string::npos);
    outcome = runShipped(files() + "--batch x.txt");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("--batch does not go with --correct"), std::string::npos);
}

} // namespace
} // namespace orvane::cli::testing
