// orvane-calc's formula finding at its bounds: time, memory, the input it refuses.

#include "orvane_calc_fixture.h"

#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvane::cli::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A directory read as standard input gives no lines, which looked like an empty batch.
TEST_F(OrvaneCalc, ADirectoryAsStandardInputIsRefused) {
    const std::string fromDirectory =
        "<'" + m_dir.string() + "' >'" + (m_dir / "stdout.txt").string() + "'";
    for (const char* option : {"--batch -", "--find-batch -"}) {
        SCOPED_TRACE(option);
        const Outcome result =
            run(std::string("--data '") + ORVANE_SHARE_DIR + "' " + option, "", fromDirectory);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "orvane-calc: cannot read the batch file (standard input): a "
                              "directory, not a file\n");
    }
}

// The reason of a line's error is not cut at a NUL it holds.
TEST_F(OrvaneCalc, FindBatchShowsANulOfALineAndKeepsItsReason) {
    const Outcome result = runShipped("--find-batch -", std::string("19\0"
                                                                    "5.1\n",
                                                                    7));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "line 1: the target \"19\\0"
                          "5.1\" is not an m/z above 0\n");
    EXPECT_NE(result.out.find("the target \"19\\0"
                              "5.1\" is not an m/z above 0"),
              std::string::npos)
        << result.out;
}

// Millions of formulas, searched for a second or more: the limit stops it with its message.
// The bound is far below what the search takes, so that no machine's speed decides.
TEST_F(OrvaneCalc, MaxSecondsBoundsASearchAndEachBatchLine) {
    const std::string huge = "--ppm 20000 --no-rules --max-seconds 0.05";
    const Outcome single = runShipped("--find 500 " + huge);
    EXPECT_EQ(single.status, 1);
    EXPECT_EQ(single.out, "");
    EXPECT_EQ(single.err,
              "orvane-calc: cannot find formulas: stopped after 0.05 s (--max-seconds 0.05)\n");

    // the second line, H at 2.0152 within 2 %, is over at once
    const Outcome batch = runShipped("--find-batch - --threads 1 " + huge, "500\n2.0152\n");
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.err, "line 1: stopped after 0.05 s (--max-seconds 0.05)\n");
    const std::vector<std::string> rows = linesOf(batch.out);
    ASSERT_GE(rows.size(), 3u) << batch.out;
    EXPECT_EQ(rows[1], "1\t500\t\t\t\t\t\t\t\t\t\t\tstopped after 0.05 s (--max-seconds 0.05)");
    EXPECT_TRUE(rows[2].starts_with("2\t2.0152\t1\t")) << rows[2];
}

// Every candidate, streamed as found: the same candidates as the ranked report, each once,
// numbered in the order written, and the counts after them.
TEST_F(OrvaneCalc, LimitZeroStreamsEveryCandidateAndCountsThemAfter) {
    const std::string query = "--find 304.1543 --ion '[M-H]-' --ion '[M+Na]+' --no-rules";
    const Outcome ranked = runShipped(query + " --limit 100000");
    const Outcome streamed = runShipped(query + " --limit 0");
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    ASSERT_EQ(streamed.status, 0) << streamed.err;
    std::multiset<std::string> rankedFormulas, streamedFormulas;
    std::vector<std::string> rankedLines = linesOf(ranked.out);
    std::vector<std::string> streamedLines = linesOf(streamed.out);
    std::size_t number = 0;
    for (const std::string& line : streamedLines) {
        if (line.starts_with("Candidate\t")) {
            ++number;
            EXPECT_TRUE(line.starts_with("Candidate\t" + std::to_string(number) + "\t")) << line;
            streamedFormulas.insert(line.substr(line.find('\t', 10)));
        }
    }
    for (const std::string& line : rankedLines) {
        if (line.starts_with("Candidate\t")) {
            rankedFormulas.insert(line.substr(line.find('\t', 10)));
        }
    }
    EXPECT_GT(number, 100u);
    EXPECT_EQ(streamedFormulas, rankedFormulas);
    ASSERT_GE(streamedLines.size(), 3u);
    EXPECT_EQ(streamedLines.front(), rankedLines.front());              // "Find"
    EXPECT_EQ(streamedLines[streamedLines.size() - 2], rankedLines[1]); // "Evaluated"
    EXPECT_EQ(streamedLines.back(), rankedLines[2]);                    // "RemovedByRules"

    const Outcome json = runShipped(query + " --limit 0 --json");
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json found = nlohmann::json::parse(json.out).at("find");
    EXPECT_EQ(found.at("candidates").size(), number);
    EXPECT_EQ(found.at("evaluated").get<std::size_t>(), number);
    EXPECT_EQ(found.at("candidates").at(0).at("rank"), 1);
}

} // namespace
} // namespace orvane::cli::testing
