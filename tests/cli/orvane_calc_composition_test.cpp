// Labelled formulas and sequences through orvane-calc: the composition by symbol, the
// label lines, the lightest peak beside the monoisotopic one and a peptide's charge.
#include <string>

#include <nlohmann/json.hpp>

#include "orvane_calc_fixture.h"

namespace orvane::cli::testing {
namespace {

using json = nlohmann::json;

TEST_F(OrvaneCalc, LabelledFormulasGiveTheirCompositionBySymbol) {
    struct Case {
        const char* formula;
        const char* composition; // the neutral molecule, labels by isotope
        const char* ionComposition;
    };
    const Case cases[] = {
        {"'[13C]6H12O6'", R"({"[13C]":6,"H":12,"O":6})", R"({"[13C]":6,"H":13,"O":6})"},
        {"'C5[13C]H12O6'", R"({"C":5,"[13C]":1,"H":12,"O":6})",
         R"({"C":5,"[13C]":1,"H":13,"O":6})"},
        {"CD3OD", R"({"C":1,"[2H]":4,"O":1})", R"({"C":1,"H":1,"[2H]":4,"O":1})"},
        {"'[15N]H4Cl'", R"({"H":4,"Cl":1,"[15N]":1})", R"({"H":5,"Cl":1,"[15N]":1})"},
        {"'C2.5 H6'", R"({"C":2.5,"H":6})", R"({"C":2,"H":7})"},
        {"FeCl3.6H2O", R"({"H":12,"Cl":3,"Fe":1,"O":6})", R"({"H":13,"Cl":3,"Fe":1,"O":6})"},
        // PEPTIDE is C34H53N7O15; oxidised methionine adds an O to MK's C11H23N3O3S
        {"'peptide(PEPTIDE)'", R"({"C":34,"H":53,"N":7,"O":15})",
         R"({"C":34,"H":54,"N":7,"O":15})"},
        {"'peptide(M[Oxidation]K)'", R"({"C":11,"H":23,"N":3,"O":4,"S":1})",
         R"({"C":11,"H":24,"N":3,"O":4,"S":1})"},
        {"'peptide(<15N>G)'", R"({"C":2,"H":5,"[15N]":1,"O":2})",
         R"({"C":2,"H":6,"[15N]":1,"O":2})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const Outcome run =
            runShipped(std::string("--json --skip-pattern --ion '[M+H]+' ") + c.formula);
        ASSERT_EQ(run.status, 0) << run.err;
        const json report = json::parse(run.out);
        EXPECT_EQ(report["composition"], json::parse(c.composition));
        EXPECT_EQ(report["accurate"]["ionComposition"], json::parse(c.ionComposition));
    }
}

TEST_F(OrvaneCalc, ImpureLabelsReportTheirPurityAndTheLightestPeak) {
    const Outcome run = runShipped("--skip-pattern -- '[13C]6{99%}H12O6'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Composition\t[13C]\t6\tH\t12\tO\t6\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Labels\t[13C]{99%}\t6\t0.99\t13.00335483507\n"), std::string::npos);
    // with 1 % 12C at each position the lightest isotopologue lies six steps lower
    const std::size_t lightest = run.out.find("LightestMz\t180.0628");
    EXPECT_NE(lightest, std::string::npos) << run.out;

    const Outcome pure = runShipped("--skip-pattern '[13C]6H12O6'");
    ASSERT_EQ(pure.status, 0) << pure.err;
    EXPECT_EQ(pure.out.find("LightestMz"), std::string::npos);
    // "--" ends the options: a formula starting with "-" reaches the reader
    const Outcome dash = runShipped("--skip-pattern -- -H2O");
    EXPECT_EQ(dash.status, 1);
    EXPECT_NE(dash.err.find("the sign \"-\" at position 1"), std::string::npos) << dash.err;
}

TEST_F(OrvaneCalc, APeptidesChargeSetsTheProtonatedIon) {
    const Outcome run = runShipped("--json --skip-pattern 'peptide(PEPTIDE/2)'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["charge"], 2);
    EXPECT_EQ(report["accurate"]["ion"], "[M+2H]2+");
    EXPECT_EQ(report["accurate"]["ionComposition"], json::parse(R"({"C":34,"H":55,"N":7,"O":15})"));
    // what is given on the command line stays
    const Outcome given = runShipped("--json --skip-pattern --ion '[M+Na]+' 'peptide(PEPTIDE/2)'");
    ASSERT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(json::parse(given.out)["accurate"]["ion"], "[M+Na]+");
}

TEST_F(OrvaneCalc, WithoutItsQtHelperPicturesAndDigestsAreRefusedNamingIt) {
    // orvane-calc alone, as if its helper had not been installed
    const fs::path alone =
        fs::temp_directory_path() / ("orvane-calc-alone-" + std::to_string(::getpid()));
    fs::create_directories(alone);
    fs::copy_file(ORVANE_CALC_PATH, alone / "orvane-calc", fs::copy_options::overwrite_existing);
    for (const char* arguments : {" --version", " --png out.png C6H12O6"}) {
        SCOPED_TRACE(arguments);
        const std::string command = "cd '" + alone.string() + "' && ./orvane-calc" + arguments +
                                    " > /dev/null 2> errors.txt";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
        const std::string errors = readFile(alone / "errors.txt");
        EXPECT_NE(errors.find("pictures and --version need orvane-calc-qt, found neither at " +
                              (alone / "orvane-calc-qt").string()),
                  std::string::npos)
            << errors;
    }
    // what needs no Qt runs as before
    const std::string plain = "cd '" + alone.string() + "' && ./orvane-calc --data '" +
                              ORVANE_SHARE_DIR + "' --skip-pattern C6H12O6 > out.txt 2>&1";
    EXPECT_EQ(std::system(plain.c_str()), 0) << readFile(alone / "out.txt");
    fs::remove_all(alone);
}

} // namespace
} // namespace orvane::cli::testing
