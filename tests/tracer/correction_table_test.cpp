#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tracer/correction_table.h"
#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

CorrectionResult twoSamples() {
    CorrectionResult result;
    result.tracers = {"13C"};
    result.samples = {"S1", "S,2"};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto row = [](const char* sample, int k, double area, double corrected, double fraction,
                        double enrichment) {
        CorrectedRow r;
        r.sample = sample;
        r.metabolite = "Lac";
        r.formula = "C3H5O3";
        r.counts = {k};
        r.area = area;
        r.correctedArea = corrected;
        r.fraction = fraction;
        r.residuum = 0;
        r.meanEnrichment = {enrichment};
        return r;
    };
    result.rows = {row("S1", 0, 90, 100, 0.25, 0.5), row("S1", 1, 300, 300, 0.75, 0.5),
                   row("S,2", 0, 0, 0, nan, nan), row("S,2", 1, 0, 0, nan, nan)};
    return result;
}

TEST(CorrectionTable, IsoCorsRowsAndAccuCorsSheets) {
    const CorrectionResult result = twoSamples();
    EXPECT_EQ(delimitedText(correctionTable(result, CorrectionSheet::Rows), '\t'),
              "sample\tmetabolite\tderivative\tisotopologue\tarea\tcorrected_area\t"
              "isotopologue_fraction\tresiduum\tmean_enrichment\n"
              "S1\tLac\t\t0\t90\t100\t0.25\t0\t0.5\n"
              "S1\tLac\t\t1\t300\t300\t0.75\t0\t0.5\n"
              "S,2\tLac\t\t0\t0\t0\tnan\t0\tnan\n"
              "S,2\tLac\t\t1\t0\t0\tnan\t0\tnan\n");
    EXPECT_EQ(delimitedText(correctionTable(result, CorrectionSheet::Corrected), ','),
              "Compound,Formula,IsotopeLabel,S1,\"S,2\"\n"
              "Lac,C3H5O3,C12 PARENT,100,0\n"
              "Lac,C3H5O3,C13-label-1,300,0\n");
    EXPECT_EQ(delimitedText(correctionTable(result, CorrectionSheet::Normalized), '\t'),
              "Compound\tFormula\tIsotopeLabel\tS1\tS,2\n"
              "Lac\tC3H5O3\tC12 PARENT\t0.25\tnan\n"
              "Lac\tC3H5O3\tC13-label-1\t0.75\tnan\n");
}

TEST(CorrectionTable, JsonKeepsNamesAsTextsAndNumbersAsNumbers) {
    CorrectionResult result = twoSamples();
    result.rows.resize(1);
    result.rows[0].sample = "12";
    EXPECT_EQ(jsonText(correctionTable(result, CorrectionSheet::Rows)),
              "[\n  {\"sample\": \"12\", \"metabolite\": \"Lac\", \"derivative\": \"\", "
              "\"isotopologue\": \"0\", \"area\": 90, \"corrected_area\": 100, "
              "\"isotopologue_fraction\": 0.25, \"residuum\": 0, \"mean_enrichment\": 0.5}\n]\n");
    EXPECT_EQ(jsonText({{"a"}, {}}), "[]\n");
}

TEST(CorrectionTable, AccuCorLabelsOfEachTracer) {
    struct LabelCase {
        std::vector<int> counts;
        std::vector<std::string> tracers;
        const char* label;
    };
    const LabelCase cases[] = {
        {{0}, {"13C"}, "C12 PARENT"},
        {{3}, {"13C"}, "C13-label-3"},
        {{2}, {"2H"}, "D-label-2"},
        {{1}, {"15N"}, "N15-label-1"},
        {{0, 0}, {"13C", "15N"}, "C12 PARENT"},
        {{2, 1}, {"13C", "15N"}, "C13N15-label-2-1"},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(accuCorLabel(c.counts, c.tracers), c.label);
    }
}

TEST(MeasurementTable, ReadsAccuCorsLayoutSampleBySample) {
    const MeasurementTable table = readMeasurements("Compound,Formula,IsotopeLabel,A,\"B, 2\"\r\n"
                                                    "lactate,C3H5O3,C12 PARENT,10,20\r\n"
                                                    "lactate,C3H5O3,C13-label-3,1.5,0\r\n",
                                                    "accucor.csv");
    EXPECT_TRUE(table.accuCorLayout);
    EXPECT_EQ(table.samples, (std::vector<std::string>{"A", "B, 2"}));
    ASSERT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[3].sample, "B, 2");
    EXPECT_EQ(table.rows[2].isotopologue, "C13-label-3");
    EXPECT_EQ(table.rows[2].area, 1.5);
    EXPECT_EQ(table.rows[2].line, 3);
    EXPECT_EQ(table.rows[2].formula, "C3H5O3");
    EXPECT_EQ(support::errorOf([] {
                  readMeasurements("Compound,Formula,IsotopeLabel,A\nlac,C3,C12 PARENT,x\n",
                                   "a.csv");
              }),
              "a.csv, line 2, column 4 (A): the area 'x' is not a number");
}

TEST(MeasurementTable, AccuCorDeuteriumLabelsReadAs2H) {
    CorrectionSettings settings;
    settings.tracers = "2H";
    const CorrectionResult result = support::correctTexts("Compound,Formula,IsotopeLabel,S\n"
                                                          "water,H2O,C12 PARENT,100\n"
                                                          "water,H2O,D-label-1,0\n"
                                                          "water,H2O,D2-label-2,0\n",
                                                          "", settings);
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[2].counts, std::vector<int>{2});
    const std::string refused = support::errorOf([&] {
        support::correctTexts("Compound,IsotopeLabel,Formula,S\nwater,C12 PARENT,H2Q,100\n", "",
                              settings);
    });
    const std::string where = "measurements.tsv, line 2, column 3 (formula): the formula 'H2Q'";
    EXPECT_EQ(refused.substr(0, where.size()), where);
}

} // namespace
} // namespace orvane::tracer
