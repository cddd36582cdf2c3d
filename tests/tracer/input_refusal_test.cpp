// Every bad input is refused with the file, line and column where it went wrong.
#include <gtest/gtest.h>

#include <string>

#include "tracer/tracer_test_support.h"

namespace orvane::tracer {
namespace {

using support::correctTexts;
using support::errorOf;

const char* const measurementHeader = "sample\tmetabolite\tderivative\tisotopologue\tarea\n";
const char* const refusalMetabolites = "name\tformula\tcharge\n"
                                       "Glc\tC6H12O6\t-1\n"
                                       "Bad\tC6H12Q\t-1\n"
                                       "Water\tH2O\t0\n";

struct RefusalCase {
    const char* name;
    std::string measurements;
    CorrectionSettings settings;
    const char* expected;
};

CorrectionSettings settingsOf(const char* tracers, const char* purity = "") {
    CorrectionSettings settings;
    settings.tracers = tracers;
    settings.purity = purity;
    return settings;
}

CorrectionSettings atHighResolution(CorrectionSettings settings) {
    settings.resolution = HighResolution{70000, 400, Instrument::Orbitrap};
    return settings;
}

TEST(InputRefusal, NamesFileLineAndColumn) {
    const std::string h = measurementHeader;
    const RefusalCase cases[] = {
        {"unknown metabolite", h + "S1\tGlc\t\t0\t10\nS1\tFru\t\t0\t10\n", settingsOf("13C"),
         "measurements.tsv, line 3, column 2 (metabolite): the metabolite 'Fru' is not in "
         "metabolites.tsv"},
        {"unknown derivative", h + "S1\tGlc\tTMS\t0\t10\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 3 (derivative): the derivative 'TMS' is not in the "
         "derivatives; none were given"},
        {"isotopologue the formula cannot hold", h + "S1\tGlc\t\t7\t10\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 4 (isotopologue): the isotopologue M+7 of 13C cannot "
         "be: C6H12O6 holds 6 C that can be labelled"},
        {"negative area", h + "S1\tGlc\t\t0\t-1\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 5 (area): the area -1 is negative"},
        {"area that is no number", h + "S1\tGlc\t\t0\t1,5\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 5 (area): the area '1,5' is not a number"},
        {"empty area", h + "S1\tGlc\t\t0\t\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 5 (area): the area '' is not a number"},
        {"isotopologue that is no number", h + "S1\tGlc\t\tM+1\t10\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 4 (isotopologue): the isotopologue 'M+1' is not a "
         "whole number of 0 or more"},
        {"one count for two tracers", h + "S1\tGlc\t\t1\t10\n",
         atHighResolution(settingsOf("13C,2H")),
         "measurements.tsv, line 2, column 4 (isotopologue): the isotopologue '1' is not one "
         "whole number per tracer, such as 2,1"},
        {"measured twice", h + "S1\tGlc\t\t1\t10\nS1\tGlc\t\t1\t12\n", settingsOf("13C"),
         "measurements.tsv, line 3, column 4 (isotopologue): the isotopologue 1 of Glc in S1 is "
         "measured a second time (first on line 2)"},
        {"formula that cannot be read", h + "S1\tBad\t\t0\t10\n", settingsOf("13C"),
         "metabolites.tsv, line 3, column 2 (formula): the formula 'C6H12Q' cannot be read: "},
        {"formula without the tracer element", h + "S1\tWater\t\t0\t10\n", settingsOf("13C"),
         "metabolites.tsv, line 4, column 2 (formula): the formula 'H2O' holds no atom of the "
         "tracer"},
        {"two tracers at whole mass steps", h + "S1\tGlc\t\t0,0\t10\n", settingsOf("13C,2H"),
         "measurements.tsv, line 2, column 2 (metabolite): two tracers need a resolving power "
         "that tells their isotopologues apart; at whole mass steps they fall into the same "
         "peaks"},
        {"purity not adding up to 1", h + "S1\tGlc\t\t0\t10\n", settingsOf("13C", "0.1,0.8"),
         "the purity '0.1,0.8' of 13C adds up to 0.9, not 1"},
        {"missing column", "sample\tmetabolite\tisotopologue\tarea\n", settingsOf("13C"),
         "measurements.tsv, line 1: the header has no column 'derivative'"},
        {"empty sample", h + "\tGlc\t\t0\t10\n", settingsOf("13C"),
         "measurements.tsv, line 2, column 1 (sample): the cell is empty"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message =
            errorOf([&] { correctTexts(c.measurements, refusalMetabolites, c.settings); });
        // a formula's own refusal follows the prefix; the rest is the reader's text
        EXPECT_EQ(message.substr(0, std::string(c.expected).size()), c.expected);
        if (std::string(c.expected).back() != ' ') {
            EXPECT_EQ(message, c.expected);
        }
    }
}

TEST(InputRefusal, MetaboliteFileErrors) {
    struct FileCase {
        const char* text;
        const char* expected;
    };
    const FileCase cases[] = {
        {"name\tformula\tcharge\nGlc\tC6H12O6\tone\n",
         "m.tsv, line 2, column 3 (charge): the charge 'one' is not a whole number"},
        {"name\tformula\nGlc\t\n", "m.tsv, line 2, column 2 (formula): the cell is empty"},
        {"name\tformula\nGlc\tC6\nGlc\tC5\n",
         "m.tsv, line 3, column 1 (name): 'Glc' is named a second time (first on line 2)"},
        {"name\tcharge\nGlc\t1\n", "m.tsv, line 1: the header has no column 'formula'"},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(errorOf([&] { readNamedFormulas(c.text, "m.tsv", true); }), c.expected);
    }
}

} // namespace
} // namespace orvane::tracer
