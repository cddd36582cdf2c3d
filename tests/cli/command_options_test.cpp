#include "cli/command_options.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(CommandLine, RefusesWhatItCannotRead) {
    const std::vector<std::vector<std::string>> refused{
        {"--frobnicate"},
        {"--charge"},
        {"--count", "C"},
        {"--count", "=3"},
        {"C", "H"},
        {"--scale", "3"},
        {"--format", "xml"},
        {"--threads", "0"},
        {"--spectrum", "-1"},
        // what a batch would write once per line
        {"--batch", "-", "C6"},
        {"--batch", "-", "--json"},
        {"--batch=f", "--png", "p.png"},
    };
    for (const auto& arguments : refused) {
        SCOPED_TRACE(arguments.front());
        EXPECT_THROW(parseCommandLine(arguments, "."), UsageError);
    }
    EXPECT_TRUE(parseCommandLine({"--help"}, ".").help);
    EXPECT_TRUE(parseCommandLine({"-h"}, ".").help);
    EXPECT_TRUE(parseCommandLine({"--version", "--data", "/d"}, ".").version);
}

TEST(CommandLine, DefaultsToTheCurrentDirectoryAndCharge) {
    const CommandLine commandLine = parseCommandLine({"C6H12O6"}, "/work/here");
    EXPECT_EQ(commandLine.dataDirectory, "/work/here");
    EXPECT_EQ(commandLine.formula, "C6H12O6");
    EXPECT_FALSE(commandLine.charge);
    EXPECT_TRUE(commandLine.showPeakPositions);
    EXPECT_FALSE(commandLine.ion);
    EXPECT_EQ(commandLine.pngScale, 1);
    EXPECT_EQ(commandLine.batchFormat, BatchFormat::Tsv);
    EXPECT_EQ(commandLine.threads, 0u);
}

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
    const CommandLine commandLine = parseCommandLine(
        {"--data", "/d", "--charge=2", "--count", "C=1,5", "--count=H= 3", "--threshold", "0",
         "--no-labels", "--normal", "n.txt", "--special=s.txt", "--png", "p.png", "Cl2"},
        ".");
    EXPECT_EQ(commandLine.dataDirectory, "/d");
    EXPECT_EQ(*commandLine.charge, "2");
    ASSERT_EQ(commandLine.counts.size(), 2u);
    EXPECT_EQ(commandLine.counts[0], (std::pair<std::string, std::string>{"C", "1,5"}));
    EXPECT_EQ(commandLine.counts[1], (std::pair<std::string, std::string>{"H", " 3"}));
    EXPECT_EQ(*commandLine.threshold, "0");
    EXPECT_FALSE(commandLine.showPeakPositions);
    EXPECT_EQ(*commandLine.normalFile, "n.txt");
    EXPECT_EQ(*commandLine.specialFile, "s.txt");
    EXPECT_EQ(*commandLine.pngFile, "p.png");
    EXPECT_EQ(commandLine.formula, "Cl2");

    const CommandLine more =
        parseCommandLine({"--ion",       "[M+H]+", "--json",     "--resolution=100000",
                          "--coverage",  "0.99",   "--profile",  "p.txt",
                          "--hires-png", "h.png",  "--measured", "m.mzML",
                          "--spectrum",  "3",      "--svg",      "s.svg",
                          "--pdf",       "s.pdf",  "--scale",    "4",
                          "--charge",    "-1"},
                         ".");
    EXPECT_EQ(*more.ion, "[M+H]+");
    EXPECT_TRUE(more.json);
    EXPECT_EQ(*more.resolvingPower, "100000");
    EXPECT_EQ(*more.coverage, "0.99");
    EXPECT_EQ(*more.profileFile, "p.txt");
    EXPECT_EQ(*more.hiresPngFile, "h.png");
    EXPECT_EQ(*more.measuredFile, "m.mzML");
    EXPECT_EQ(*more.spectrumIndex, 3u);
    EXPECT_EQ(*more.svgFile, "s.svg");
    EXPECT_EQ(*more.pdfFile, "s.pdf");
    EXPECT_EQ(more.pngScale, 4);
    EXPECT_EQ(*more.charge, "-1"); // out of bounds, used as typed
    const CommandLine batch = parseCommandLine(
        {"--batch", "-", "--format", "CSV", "--threads", "3", "--ion", "[M-H]-"}, ".");
    EXPECT_EQ(*batch.batchFile, "-");
    EXPECT_EQ(batch.batchFormat, BatchFormat::Csv);
    EXPECT_EQ(batch.threads, 3u);
    EXPECT_NE(usageText().find("--hires-png"), std::string::npos);
}

TEST(CommandLine, ReadsTheRdbeBounds) {
    const struct {
        const char* text;
        std::optional<double> minimum, maximum;
        bool refused;
    } cases[] = {
        {"", {}, {}, true},     {"3", {}, {}, true},
        {"a:4", {}, {}, true},  {"1:2:3", {}, {}, true},
        {"5:1", {}, {}, true},  {"0:40", 0.0, 40.0, false},
        {"0:", 0.0, {}, false}, {":12.5", {}, 12.5, false},
        {":", {}, {}, false},   {"-1:-0.5", -1.0, -0.5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<double> minimum = 7.0;
        std::optional<double> maximum = 7.0;
        if (c.refused) {
            EXPECT_THROW(readRdbeBounds(c.text, minimum, maximum), UsageError);
            continue;
        }
        readRdbeBounds(c.text, minimum, maximum);
        EXPECT_EQ(minimum, c.minimum);
        EXPECT_EQ(maximum, c.maximum);
    }
}

TEST(CommandLine, FindTakesSeveralIonsAndItsOwnOptions) {
    const CommandLine commandLine =
        parseCommandLine({"--find", "304.1543", "--ion", "[M+H]+", "--ion=[M+Na]+", "--mda", "2",
                          "--elements", "C0-20 H0-40", "--rdbe", "0:", "--radicals", "--no-rules",
                          "--common-ratios", "--limit", "0"},
                         ".");
    EXPECT_EQ(*commandLine.findMz, 304.1543);
    EXPECT_EQ(commandLine.ions, (std::vector<std::string>{"[M+H]+", "[M+Na]+"}));
    EXPECT_FALSE(commandLine.ion);
    EXPECT_EQ(*commandLine.milliDaltons, 2);
    EXPECT_FALSE(commandLine.ppm);
    EXPECT_EQ(*commandLine.elements, "C0-20 H0-40");
    EXPECT_EQ(commandLine.rdbeMinimum, 0.0);
    EXPECT_FALSE(commandLine.rdbeMaximum);
    EXPECT_TRUE(commandLine.radicals);
    EXPECT_TRUE(commandLine.noRules);
    EXPECT_TRUE(commandLine.commonRatios);
    EXPECT_EQ(commandLine.limit, 0u);
    const CommandLine batch = parseCommandLine({"--find-batch", "-", "--threads", "2"}, ".");
    EXPECT_EQ(*batch.findBatchFile, "-");
    EXPECT_EQ(batch.limit, 20u);
    EXPECT_EQ(*parseCommandLine({"--ion", "[M-H]-", "C2H6O"}, ".").ion, "[M-H]-");
    EXPECT_THROW(parseCommandLine({"--ion", "[M-H]-", "--ion", "[M+H]+", "C2H6O"}, "."),
                 UsageError);
    EXPECT_THROW(parseCommandLine({"--find", "0"}, "."), UsageError);
    EXPECT_FALSE(batch.intensitySigmaA);
    const CommandLine sigma =
        parseCommandLine({"--find", "300", "--intensity-sigma", "0.03:0"}, ".");
    EXPECT_EQ(sigma.intensitySigmaA, 0.03);
    EXPECT_EQ(sigma.intensitySigmaB, 0.0);
    for (const char* refused : {"0.03", "0:0.1", "a:1", "0.02:-1", ":0.1", "0.1:"}) {
        SCOPED_TRACE(refused);
        EXPECT_THROW(parseCommandLine({"--find", "300", "--intensity-sigma", refused}, "."),
                     UsageError);
    }
}

// A bound is said in words, not as the largest double in all its digits, and a count is not
// read from a negative number.
TEST(CommandOptions, NumbersOutOfBoundsAreRefusedInReadableWords) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"--find", "500", "--ppm", "0"}, "--ppm: '0' is not a number above 0"},
        {{"--find", "500", "--mda", "-1"}, "--mda: '-1' is not a number above 0"},
        {{"--find", "0"}, "--find: '0' is not a number above 0"},
        {{"--max-seconds", "0", "H2O"}, "--max-seconds: '0' is not a number above 0"},
        {{"--find", "500", "--prior-weight", "-1"},
         "--prior-weight: '-1' is not a number of 0 or more"},
        {{"--find", "500", "--limit", "-1"}, "--limit: '-1' is not a whole number of 0 or more"},
        {{"--find", "500", "--limit", "2.5"}, "--limit: '2.5' is not a whole number of 0 or more"},
        {{"--spectrum", "-1", "H2O"}, "--spectrum: '-1' is not a whole number of 0 or more"},
        {{"--charges", "1-3", "--ion", "[zM+H]+", "H2O"},
         "--charges: in the ion [zM+H]+, z is not the charge; a ladder of charge states needs z "
         "as the charge, as in [M+zH]z+"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            parseCommandLine(c.arguments, ".");
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
    EXPECT_EQ(parseCommandLine({"--find", "500", "--limit", "0"}, ".").limit, 0u);
    EXPECT_TRUE(parseCommandLine({"--charges", "1-3", "--ion", "[M+zH]z+", "H2O"}, ".").charges);
}

} // namespace
} // namespace orvane::cli
