#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(CommandLine, DefaultsToTheCurrentDirectoryAndCharge) {
    const CommandLine commandLine = parseCommandLine({"C6H12O6"}, "/work/here");
    EXPECT_EQ(commandLine.dataDirectory, "/work/here");
    EXPECT_EQ(commandLine.formula, "C6H12O6");
    EXPECT_FALSE(commandLine.charge);
    EXPECT_TRUE(commandLine.showPeakPositions);
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
}

TEST(CommandLine, RefusesWhatItCannotRead) {
    EXPECT_THROW(parseCommandLine({"--frobnicate"}, "."), UsageError);
    EXPECT_THROW(parseCommandLine({"--charge"}, "."), UsageError);
    EXPECT_THROW(parseCommandLine({"--count", "C"}, "."), UsageError);
    EXPECT_THROW(parseCommandLine({"--count", "=3"}, "."), UsageError);
    EXPECT_THROW(parseCommandLine({"C", "H"}, "."), UsageError);
    EXPECT_TRUE(parseCommandLine({"--help"}, ".").help);
}

} // namespace
} // namespace orvane::cli
