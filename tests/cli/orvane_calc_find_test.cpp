// orvane-calc's formula finding, run as a process on the shipped data.

#include "orvane_calc_fixture.h"

#include <cmath>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvane::cli::testing {
namespace {

// caffeine's [M+H]+ rounded to four decimals, as an instrument would give it
const std::string caffeineMz = "195.0877";

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& key) {
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(key + "\t")) {
            found.push_back(line.substr(key.size() + 1));
        }
    }
    return found;
}

TEST_F(OrvaneCalc, FindRefusesWhatDoesNotGoWithIt) {
    const struct {
        const char* arguments;
        int status;
        const char* error;
    } cases[] = {
        {"--find 195 --ppm 3 --mda 2", 2, "--ppm and --mda are two tolerances; give one"},
        {"--find 195 C8H10N4O2", 2, "FORMULA does not go with finding formulas"},
        {"--find 195 --find-batch -", 2, "--find-batch with --find does not go with"},
        {"--find-batch - --json", 2, "--json (use --format json) does not go with"},
        {"--ion '[M+H]+' --ion '[M+Na]+' C8H10N4O2", 2, "--ion is given more than once"},
        {"--find 195 --rdbe 5", 2, "--rdbe needs MIN:MAX, MIN: or :MAX with numbers, not '5'"},
        {"--find 195 --rdbe 8:2", 2, "--rdbe 8:2: the minimum is above the maximum"},
        {"--find -3", 2, "--find"},
        {"--find 195 --elements 'C0-4 Xy2'", 1,
         "orvane-calc: cannot find formulas: Element ranges \"C0-4 Xy2\": an element symbol is "
         "expected at position 6."},
        {"--find 195 --ion '[M+Qq]+'", 1, "orvane-calc: cannot find formulas: "},
        {"--find 195 --instrument tof", 2,
         "--instrument: there is no instrument 'tof'; the instruments are Orbitrap, FT-ICR, "
         "QTOF, IT-TOF"},
        {"--find 195 --no-rule golden", 2,
         "--no-rule: there is no rule 'golden'; the rules are "
         "ion-atoms, lewis, senior"},
        {"--find 195 --rules lewis,,bogus", 2, "--rules: there is no rule 'bogus'"},
        {"--find 195 --prior-weight -1", 2, "--prior-weight"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome result = runShipped(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(OrvaneCalc, FindReportsTheCandidatesBestFirst) {
    const Outcome result = runShipped("--find " + caffeineMz + " --limit 3");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> candidates = linesStartingWith(result.out, "Candidate");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_TRUE(candidates[0].starts_with("1\tC8H10N4O2\t[M+H]+\tC8H11N4O2\t195.087652"))
        << candidates[0];
    EXPECT_TRUE(candidates[1].starts_with("2\t"));
    EXPECT_EQ(linesStartingWith(result.out, "Find"), std::vector<std::string>{"195.0877\t5\tppm"});

    // without rules and limit, every formula evaluated is a candidate
    const Outcome all = runShipped("--find " + caffeineMz + " --no-rules --limit 0 --mda 5");
    ASSERT_EQ(all.status, 0) << all.err;
    const std::vector<std::string> evaluated = linesStartingWith(all.out, "Evaluated");
    ASSERT_EQ(evaluated.size(), 1u);
    EXPECT_EQ(std::to_string(linesStartingWith(all.out, "Candidate").size()), evaluated[0]);
    EXPECT_EQ(linesStartingWith(all.out, "RemovedByRules"), std::vector<std::string>{"0"});
    EXPECT_GT(linesStartingWith(all.out, "Candidate").size(), candidates.size());
}

TEST_F(OrvaneCalc, FindWithoutRulesTakesAnIonByItsMassAlone) {
    // [M-H]- of CO2, which has no H to give: m/z 43.98983 - 1.00783 + one electron
    const std::string query = "--find 42.9826 --ion '[M-H]-' --elements 'C0-2 O0-3'";
    const Outcome ruled = runShipped(query);
    ASSERT_EQ(ruled.status, 0) << ruled.err;
    EXPECT_TRUE(linesStartingWith(ruled.out, "Candidate").empty()) << ruled.out;
    EXPECT_EQ(linesStartingWith(ruled.out, "RemovedBy"), std::vector<std::string>{"ion atoms\t1"});

    const Outcome byMass = runShipped(query + " --no-rules --json");
    ASSERT_EQ(byMass.status, 0) << byMass.err;
    const nlohmann::json found = nlohmann::json::parse(byMass.out).at("find");
    EXPECT_EQ(found.at("removedBy").at("ion atoms"), 0);
    ASSERT_EQ(found.at("candidates").size(), 1u);
    EXPECT_EQ(found.at("candidates").at(0).at("formula"), "CO2");
    EXPECT_EQ(found.at("candidates").at(0).at("ionFormula"), "CH-1O2");
}

TEST_F(OrvaneCalc, FindJsonHoldsTheCandidatesWithTheirComposition) {
    const Outcome result = runShipped("--find " + caffeineMz +
                                      " --json --limit 2 --ion '[M+H]+' --ion '[M+Na]+' --rdbe 0:");
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json report = nlohmann::json::parse(result.out);
    const nlohmann::json& found = report.at("find");
    EXPECT_EQ(found.at("mz"), 195.0877);
    EXPECT_EQ(found.at("ppm"), 5.0);
    EXPECT_GE(found.at("evaluated").get<long long>(), found.at("removedByRules").get<long long>());
    ASSERT_EQ(found.at("candidates").size(), 2u);
    const nlohmann::json& first = found.at("candidates").at(0);
    EXPECT_EQ(first.at("rank"), 1);
    EXPECT_EQ(first.at("formula"), "C8H10N4O2");
    EXPECT_EQ(first.at("composition"), (nlohmann::json{{"C", 8}, {"H", 10}, {"N", 4}, {"O", 2}}));
    EXPECT_EQ(first.at("ion"), "[M+H]+");
    EXPECT_EQ(first.at("ionFormula"), "C8H11N4O2");
    EXPECT_EQ(first.at("rdbe"), 6.0);
    EXPECT_TRUE(first.at("isotopeScore").is_null());
    EXPECT_LT(std::abs(first.at("ppm").get<double>()), 1);
    for (const char* key : {"mz", "score"}) {
        EXPECT_TRUE(first.at(key).is_number()) << key;
    }
}

TEST_F(OrvaneCalc, FindBatchIsTheSameForAnyNumberOfThreads) {
    const std::string input = "# targets\n" + caffeineMz +
                              "\n181.0707\t[M+H]+\n\nnot a number\n203.0526\t[M+Na]+\n"
                              "500.2\n";
    const Outcome one = runShipped("--find-batch - --threads 1 --limit 0", input);
    const Outcome three = runShipped("--find-batch - --threads 3 --limit 0", input);
    EXPECT_EQ(one.status, 1); // the line that is no number
    EXPECT_EQ(three.status, 1);
    EXPECT_EQ(one.out, three.out);
    EXPECT_NE(one.err.find("line 5: the target \"not a number\" is not an m/z above 0"),
              std::string::npos)
        << one.err;
    EXPECT_TRUE(one.out.starts_with("line\ttarget\trank\tformula\tion\tionFormula\tmz\tppm\trdbe\ti"
                                    "sotopeScore\tcosine\tscore\terror\n"));
    EXPECT_NE(one.out.find("\n2\t195.0877\t1\tC8H10N4O2\t[M+H]+\t"), std::string::npos);
    EXPECT_NE(one.out.find("\n3\t181.0707\t1\tC6H12O6\t[M+H]+\t"), std::string::npos);
    EXPECT_NE(one.out.find("\n6\t203.0526\t1\tC6H12O6\t[M+Na]+\t"), std::string::npos);

    const Outcome json = runShipped("--find-batch - --format json --limit 1 --threads 2", input);
    std::istringstream rows(json.out);
    std::vector<nlohmann::json> objects;
    for (std::string row; std::getline(rows, row);) {
        objects.push_back(nlohmann::json::parse(row));
    }
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(objects[0].at("line"), 2);
    EXPECT_EQ(objects[0].at("formula"), "C8H10N4O2");
    EXPECT_EQ(objects[2].at("error"), "the target \"not a number\" is not an m/z above 0");

    const Outcome csv = runShipped("--find-batch - --format csv --limit 1 --threads 2", input);
    EXPECT_TRUE(csv.out.starts_with("line,target,rank,formula,ion,ionFormula,mz,ppm,rdbe,"));
    EXPECT_NE(csv.out.find("\n2,195.0877,1,C8H10N4O2,[M+H]+,"), std::string::npos);
}

TEST_F(OrvaneCalc, FindScoresTheCandidatesByTheMeasuredCluster) {
    // caffeine's own [M+H]+ clusters from orvane-calc, as a peak list
    const Outcome clusters = runShipped("--ion '[M+H]+' C8H10N4O2");
    ASSERT_EQ(clusters.status, 0) << clusters.err;
    std::string peaks = "m/z\tintensity\n";
    for (const std::string& cluster : linesStartingWith(clusters.out, "Cluster")) {
        std::istringstream fields(cluster);
        std::string nominal, mass, mz, intensity;
        std::getline(fields, nominal, '\t');
        std::getline(fields, mass, '\t');
        std::getline(fields, mz, '\t');
        std::getline(fields, intensity, '\t');
        peaks += mz + "\t" + intensity + "\n";
    }
    write("caffeine.txt", peaks);
    const std::string measured = " --measured '" + (m_dir / "caffeine.txt").string() + "'";

    // 195.0872 lies nearer C8H18OS2 than caffeine: the mass alone ranks that first
    const Outcome byMass = runShipped("--find 195.0872 --ppm 10 --limit 1 --no-rule prior");
    ASSERT_EQ(byMass.status, 0) << byMass.err;
    const std::vector<std::string> massFirst = linesStartingWith(byMass.out, "Candidate");
    ASSERT_EQ(massFirst.size(), 1u);
    EXPECT_TRUE(massFirst[0].starts_with("1\tC8H18OS2\t")) << massFirst[0];
    EXPECT_NE(massFirst[0].find("\tnone\t"), std::string::npos);

    // an Orbitrap's intensities tell caffeine's four N from the O6 of C7H14O6, which the
    // composition prior alone would put first
    const std::string orbitrap = " --instrument orbitrap --resolution 10000";
    const Outcome byPattern =
        runShipped("--find 195.0872 --ppm 10 --limit 1" + orbitrap + measured);
    ASSERT_EQ(byPattern.status, 0) << byPattern.err;
    const std::vector<std::string> patternFirst = linesStartingWith(byPattern.out, "Candidate");
    ASSERT_EQ(patternFirst.size(), 1u);
    EXPECT_TRUE(patternFirst[0].starts_with("1\tC8H10N4O2\t")) << patternFirst[0];
    EXPECT_EQ(patternFirst[0].find("\tnone\t"), std::string::npos);
    // the measured M+2 says what no formula needs to: caffeine has no Cl, Br or S
    const std::vector<std::string> evidence = linesStartingWith(byPattern.out, "Evidence");
    ASSERT_EQ(evidence.size(), 1u);
    EXPECT_TRUE(evidence[0].ends_with("carbon and oxygen alone, no Cl or Br")) << evidence[0];
    EXPECT_TRUE(linesStartingWith(byMass.out, "Evidence").empty());
    // a wider intensity error forgives more: the same first candidate scores nearer 0
    const Outcome forgiving = runShipped(
        "--find 195.0872 --ppm 10 --limit 1 --intensity-sigma 0.5:0.5" + orbitrap + measured);
    ASSERT_EQ(forgiving.status, 0) << forgiving.err;
    const std::vector<std::string> forgivingFirst = linesStartingWith(forgiving.out, "Candidate");
    ASSERT_EQ(forgivingFirst.size(), 1u);
    const auto isotopeScoreOf = [](const std::string& line) {
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i < 8; ++i) {
            std::getline(fields, field, '\t');
        }
        return std::stod(field);
    };
    EXPECT_GT(isotopeScoreOf(forgivingFirst[0]), isotopeScoreOf(patternFirst[0]));

    // a target where the spectrum has no peak: nothing scored, ranked by mass, and said so,
    // alone and as a batch line beside a target it does score
    const std::string noPeak = "notice: the measured spectrum has no peak within 10 ppm of m/z "
                               "304.1543; ranked by mass alone\n";
    const Outcome elsewhere =
        runShipped("--find 304.1543 --ppm 10 --limit 3" + orbitrap + measured);
    ASSERT_EQ(elsewhere.status, 0) << elsewhere.err;
    EXPECT_EQ(elsewhere.err, noPeak);
    EXPECT_TRUE(linesStartingWith(elsewhere.out, "Evidence").empty());
    const std::vector<std::string> unscored = linesStartingWith(elsewhere.out, "Candidate");
    ASSERT_FALSE(unscored.empty());
    for (const std::string& line : unscored) {
        EXPECT_NE(line.find("\tnone\t"), std::string::npos) << line;
    }
    write("targets.txt", "195.0872\n304.1543\n");
    const Outcome targets = runShipped("--find-batch '" + (m_dir / "targets.txt").string() +
                                     "' --ppm 10 --limit 1" + orbitrap + measured);
    ASSERT_EQ(targets.status, 0) << targets.err;
    EXPECT_EQ(targets.err, "line 2: " + noPeak);

    const Outcome batch = runShipped(
        "--find-batch - --ppm 10 --limit 1 --format json" + orbitrap + measured, "195.0872\n");
    ASSERT_EQ(batch.status, 0) << batch.err;
    const nlohmann::json row = nlohmann::json::parse(batch.out);
    EXPECT_EQ(row.at("formula"), "C8H10N4O2");
    EXPECT_TRUE(row.at("isotopeScore").is_number());

    const struct {
        std::string arguments;
        const char* error;
    } refused[] = {
        {"--find 195.0872 --resolution 0" + measured,
         "Resolving power '0' must be a number above 0."},
        {"--find 195.0872 --spectrum 3" + measured, "there is no spectrum 3"},
        {"--find 195.0872 --measured '" + (m_dir / "none.txt").string() + "'", "none.txt"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments);
        const Outcome result = runShipped(c.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(OrvaneCalc, AFormulaScoresTheSameInTheSearchAndInASingleRun) {
    // caffeine's [M+H]+ a ppm high, its M+1 a tenth too tall
    write("measured.txt", "195.0878470\t1000\n196.0903\t113\n197.0923\t9\n");
    const std::string measured = " --measured '" + (m_dir / "measured.txt").string() + "'";
    for (const char* options : {" --resolution 20000", " --instrument QTOF --ppm 8",
                                " --instrument orbitrap --resolution 70000"}) {
        SCOPED_TRACE(options);
        const Outcome search =
            runShipped(std::string("--find 195.0878470 --limit 0 --json") + options + measured);
        ASSERT_EQ(search.status, 0) << search.err;
        const nlohmann::json parsed = nlohmann::json::parse(search.out);
        nlohmann::json found;
        for (const nlohmann::json& candidate : parsed.at("find").at("candidates")) {
            if (candidate.at("formula") == "C8H10N4O2") {
                found = candidate;
            }
        }
        ASSERT_FALSE(found.is_null()) << search.out;
        const Outcome single = runShipped(
            std::string("C8H10N4O2 --ion '[M+H]+' --json --skip-pattern") + options + measured);
        ASSERT_EQ(single.status, 0) << single.err;
        const nlohmann::json match = nlohmann::json::parse(single.out).at("measured");
        EXPECT_EQ(match.at("isotopeScore").get<double>(), found.at("isotopeScore").get<double>());
        EXPECT_EQ(match.at("cosine").get<double>(), found.at("cosine").get<double>());
        EXPECT_LT(match.at("isotopeScore").get<double>(), 0);
        EXPECT_NEAR(match.at("massOffsetPpm").get<double>(), 1, 0.01);
        EXPECT_EQ(match.at("massOffsetPpm").get<double>(), found.at("massOffsetPpm").get<double>());
        // and the TAB report says the same
        const Outcome tab =
            runShipped(std::string("C8H10N4O2 --ion '[M+H]+' --skip-pattern") + options + measured);
        ASSERT_EQ(tab.status, 0) << tab.err;
        const std::vector<std::string> cosine = linesStartingWith(tab.out, "Cosine");
        ASSERT_EQ(cosine.size(), 1u);
        EXPECT_EQ(std::stod(cosine[0]), match.at("cosine").get<double>());
    }
}

TEST_F(OrvaneCalc, AProfileScanShowsItsResolvingPowerToTheScore) {
    // caffeine's [M+H]+ clusters as a profile at R 20000, written as two columns
    const double clusters[][2] = {{195.08765, 100}, {196.09015, 10.3}, {197.09224, 0.9}};
    std::string text;
    for (double x = 194.9; x < 197.3; x += 0.0005) {
        double y = 0;
        for (const auto& [mz, intensity] : clusters) {
            const double sigma = mz / 20'000 / 2.3548200450309493;
            y += intensity * std::exp(-0.5 * (x - mz) * (x - mz) / (sigma * sigma));
        }
        text += std::to_string(x) + "\t" + std::to_string(y + 0.001) + "\n";
    }
    write("profile.txt", text);
    const std::string measured = " --measured '" + (m_dir / "profile.txt").string() + "'";
    const Outcome search = runShipped("--find 195.08765 --limit 0 --json" + measured);
    ASSERT_EQ(search.status, 0) << search.err;
    const std::string notice =
        "notice: the profile's peak at the target shows the resolving power ";
    const std::size_t said = search.err.find(notice);
    ASSERT_NE(said, std::string::npos) << search.err;
    EXPECT_NEAR(std::stod(search.err.substr(said + notice.size())), 20'000, 400);
    const nlohmann::json parsed = nlohmann::json::parse(search.out);
    const nlohmann::json first = parsed.at("find").at("candidates").at(0);
    EXPECT_EQ(first.at("formula"), "C8H10N4O2");
    // a single run of the formula reads the same width and gives the same scores
    const Outcome single = runShipped("C8H10N4O2 --ion '[M+H]+' --json --skip-pattern" + measured);
    ASSERT_EQ(single.status, 0) << single.err;
    const nlohmann::json match = nlohmann::json::parse(single.out).at("measured");
    EXPECT_GT(match.at("cosine").get<double>(), 0.999);
    // given a resolving power, the search takes it instead and says nothing of the width
    const Outcome given = runShipped("--find 195.08765 --limit 1 --resolution 20000" + measured);
    ASSERT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(given.err.find("shows the resolving power"), std::string::npos) << given.err;
}

TEST_F(OrvaneCalc, FindSaysWhenTheSpacingShowsAnotherCharge) {
    write("doubly.txt", "400.2000\t1000\n400.7017\t400\n401.2034\t90\n");
    const Outcome result = runShipped("--find 400.2 --ppm 10 --limit 1 --measured '" +
                                      (m_dir / "doubly.txt").string() + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("notice: the measured peaks are 0.5 apart: charge 2?"),
              std::string::npos)
        << result.err;
}

TEST_F(OrvaneCalc, FindSwitchesEachRuleByItsName) {
    // berberine, a cation measured as it is, breaks LEWIS as a radical's neutral
    const std::string berberine = "--find 336.12303 --limit 0 --json --ion ";
    const auto removedBy = [&](const std::string& arguments, const char* rule) {
        const Outcome result = runShipped(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        const nlohmann::json find = nlohmann::json::parse(result.out).at("find");
        bool found = false;
        for (const nlohmann::json& candidate : find.at("candidates")) {
            found = found || candidate.at("formula") == "C20H18NO4";
        }
        return std::make_pair(found, find.at("removedBy").at(rule).get<long long>());
    };
    const auto [asCation, lewisOfCation] = removedBy(berberine + "'[M]+'", "LEWIS");
    EXPECT_TRUE(asCation);
    EXPECT_GT(lewisOfCation, 0); // the radicals' formulas are removed instead
    const auto [asRadical, lewisOfRadical] = removedBy(berberine + "'[M]+.'", "LEWIS");
    EXPECT_FALSE(asRadical);
    EXPECT_GT(lewisOfRadical, 0);
    const auto [lewisOff, removed] = removedBy(berberine + "'[M]+.' --no-rule lewis", "LEWIS");
    EXPECT_TRUE(lewisOff);
    EXPECT_EQ(removed, 0);
    // --rules keeps only those named: no SENIOR removal and no prior in the score
    const Outcome only = runShipped(berberine + "'[M]+' --rules lewis");
    ASSERT_EQ(only.status, 0) << only.err;
    const nlohmann::json find = nlohmann::json::parse(only.out).at("find");
    EXPECT_EQ(find.at("removedBy").at("SENIOR"), 0);
    EXPECT_GT(find.at("removedBy").at("LEWIS"), 0);
}

} // namespace
} // namespace orvane::cli::testing
