// Charge-state ladders through orvane-calc: the Ladder lines, the JSON "ladder" and the
// refused ranges.
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "orvane_calc_fixture.h"

namespace orvane::cli::testing {
namespace {

constexpr const char* ubiquitin = "C378H629N105O118S1";

// The fields of the Ladder lines, each line split at its TABs.
std::vector<std::vector<std::string>> ladderLines(const std::string& out) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("Ladder\t")) {
            std::vector<std::string> fields;
            std::istringstream parts(line.substr(7));
            for (std::string field; std::getline(parts, field, '\t');) {
                fields.push_back(field);
            }
            lines.push_back(fields);
        }
    }
    return lines;
}

TEST_F(OrvaneCalc, RefusedChargeRangesAreUsageErrors) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"--charges 9-3 C6H12O6", "--charges: The charges \"9-3\" run backwards"},
        {"--charges 0-3 C6H12O6", "--charges: The charges \"0-3\" start below 1."},
        {"--charges 1-101 C6H12O6", "--charges: The charges \"1-101\" go above 100."},
        {"--charges 2..5 C6H12O6", "are not a range such as \"5-20\""},
        {"--charges '' C6H12O6", "--charges needs A-B, such as 5-20"},
        {"--charges 1-3 --batch -", "--charges applies to one formula, not to --batch"},
        {"--charges 1-3 --find 300", "--charges does not go with finding formulas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = runShipped(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // a rung the molecule cannot form is an error of the calculation
    const Outcome anions = runShipped("--charges 12-13 --ion '[M-zH]z-' C6H12O6");
    EXPECT_EQ(anions.status, 1);
    EXPECT_NE(anions.err.find("[M-13H]13-"), std::string::npos) << anions.err;
}

// A rung holds the m/z of the ion computed alone at that charge, in the TAB lines and in
// the JSON; the ladder asks for no pattern unless a pattern output does.
TEST_F(OrvaneCalc, LadderRungsAreTheIonsComputedAlone) {
    const Outcome run = runShipped(std::string("--charges 5-8 ") + ubiquitin);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("Peak\t"), std::string::npos);
    const auto lines = ladderLines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines.front()[0], "5");
    EXPECT_EQ(lines.back()[0], "8");
    const Outcome sixth =
        runShipped(std::string("--skip-pattern --ion '[M+zH]z+' --charge 6 ") + ubiquitin);
    ASSERT_EQ(sixth.status, 0) << sixth.err;
    const auto single = fields(sixth.out);
    ASSERT_EQ(lines[1].size(), 4u);
    EXPECT_EQ(lines[1][1], single.at("MonoisotopicMz"));
    EXPECT_NEAR(std::stod(lines[1][2]), std::stod(single.at("MostAbundantMz")), 1e-9);
    EXPECT_EQ(lines[1][3], single.at("AverageMz"));

    // an ion without "z" has its charged adducts repeated: the 3+ rung of [M+Na]+
    const Outcome json =
        runShipped(std::string("--json --charges 2-4 --ion '[M+Na]+' ") + ubiquitin);
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json report = nlohmann::json::parse(json.out);
    EXPECT_FALSE(report.contains("pattern"));
    const nlohmann::json& ladder = report.at("ladder");
    ASSERT_EQ(ladder.size(), 3u);
    const nlohmann::json& rung = ladder[1];
    EXPECT_EQ(rung.size(), 4u);
    EXPECT_EQ(rung.at("charge"), 3);
    const Outcome alone =
        runShipped(std::string("--json --skip-pattern --ion '[M+3Na]3+' ") + ubiquitin);
    ASSERT_EQ(alone.status, 0) << alone.err;
    const nlohmann::json single3 = nlohmann::json::parse(alone.out);
    const nlohmann::json& accurate = single3.at("accurate");
    EXPECT_EQ(rung.at("monoisotopicMz"), accurate.at("monoisotopicMz"));
    EXPECT_EQ(rung.at("averageMz"), accurate.at("averageMz"));
    EXPECT_NEAR(rung.at("mostAbundantMz").get<double>(),
                accurate.at("mostAbundantMz").get<double>(), 1e-9);

    // a pattern file asks for the pattern, and so do its Peak lines
    const Outcome withPattern =
        runShipped("--charges 5-5 --normal '" + (m_dir / "pattern.txt").string() + "' C6H12O6");
    ASSERT_EQ(withPattern.status, 0) << withPattern.err;
    EXPECT_NE(withPattern.out.find("Peak\t"), std::string::npos);
    EXPECT_EQ(ladderLines(withPattern.out).size(), 1u);
}

} // namespace
} // namespace orvane::cli::testing
