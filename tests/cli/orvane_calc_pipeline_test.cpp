// orvane-calc as scripts use it: accurate masses, JSON, batches, and the failures of its
// output.

#include "orvane_calc_fixture.h"

#include <poll.h>

#include <cmath>

#include <nlohmann/json.hpp>

#include "cli/blank_canvas.h"
#include "ion/ion_result.h"
#include "session/session.h"
#include "support/recording_notifier.h"

namespace orvane::cli::testing {
namespace {

using nlohmann::json;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line, char separator = '\t') {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator)) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == separator) {
        fields.emplace_back();
    }
    return fields;
}

TEST_F(OrvaneCalc, IonsOfTheJsonReportMatchTheMassesWorkedByHand) {
    struct Case {
        const char* formula;
        const char* ion;
        int charge;
        double monoisotopicMz;
    };
    const Case cases[] = {
        {"C6H12O6", "[M+H]+", 1, 181.07066},         {"C6H12O6", "[M+Na]+", 1, 203.05261},
        {"C6H12O6", "[M-H]-", -1, 179.05611},        {"C6H12O6", "[2M+Na]+", 1, 383.11600},
        {"C34H32ClFeN4O4", "[M-Cl]+", 1, 616.17674},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.formula) + " " + c.ion);
        const Outcome result = runShipped(std::string("--json --ion '") + c.ion + "' " + c.formula);
        ASSERT_EQ(result.status, 0) << result.err;
        const json report = json::parse(result.out);
        const json& accurate = report.at("accurate");
        EXPECT_EQ(accurate.at("ion"), c.ion);
        EXPECT_EQ(accurate.at("ionCharge"), c.charge);
        EXPECT_NEAR(accurate.at("monoisotopicMz").get<double>(), c.monoisotopicMz, 5e-6);
        EXPECT_FALSE(accurate.at("clusters").empty());
    }
    const json glucose = json::parse(runShipped("--json C6H12O6").out);
    EXPECT_NEAR(glucose["accurate"]["monoisotopicMass"].get<double>(), 180.06339, 5e-6);
    EXPECT_EQ(glucose["accurate"]["ion"], "[M]+"); // without --ion: [M]+ at the charge
    for (const char* key :
         {"formula", "fw", "charge", "mz", "n0", "w", "centroid", "span", "range", "pattern"}) {
        EXPECT_TRUE(glucose.contains(key)) << key;
    }
    EXPECT_EQ(glucose["span"]["first"], 175);
    EXPECT_EQ(glucose["span"]["last"], 185);
    EXPECT_EQ(glucose["range"]["xmin"], 175.0); // a small molecule's frame is its span
    EXPECT_EQ(glucose["range"]["xmax"], 185.0);
    // the span the pattern files write, 175 .. 185, not the window's zeros
    EXPECT_EQ(glucose["pattern"].size(), 11u);
    EXPECT_EQ(glucose["pattern"][0][0], 175);
    EXPECT_EQ(glucose["pattern"][5], json::parse("[180, 100.0]"));
    EXPECT_EQ(json::parse(runShipped("--json --charge 2 C6H12O6").out)["accurate"]["ion"], "[M]2+");
}

TEST_F(OrvaneCalc, WithoutMassesTheAccuratePartIsAbsentAndStderrSaysWhy) {
    writeChlorineData();
    Outcome result = run(data() + " --json Cl2");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(json::parse(result.out).contains("accurate"));
    EXPECT_NE(result.err.find("masses.txt"), std::string::npos) << result.err;

    // An ion asked for cannot be given: the report still comes, the status says it failed.
    result = run(data() + " --ion '[M+H]+' Cl2");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("N0\t71\n"), std::string::npos);
    EXPECT_EQ(result.out.find("Ion\t"), std::string::npos);
}

TEST_F(OrvaneCalc, TheTabReportAddsTheAccurateLinesAfterItsOwn) {
    const Outcome result = runShipped("--ion '[M+H]+' C6H12O6");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = linesOf(result.out);
    const auto ionLine = std::find(lines.begin(), lines.end(), "Ion\t[M+H]+\t1");
    ASSERT_NE(ionLine, lines.end());
    EXPECT_EQ(std::find_if(ionLine, lines.end(),
                           [](const std::string& line) { return line.rfind("Peak\t", 0) == 0; }),
              lines.end());
    const auto mz = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("MonoisotopicMz\t", 0) == 0;
    });
    ASSERT_NE(mz, lines.end());
    EXPECT_NEAR(std::strtod(mz->c_str() + 15, nullptr), 181.07066, 5e-6);
}

TEST_F(OrvaneCalc, BatchRowsComeInInputOrderWithErrorRowsAndTheSingleRunsValues) {
    const std::string input =
        "# a comment\n\nC6H12O6\nXy2\nCl2\t[M+H]+\r\nCa(OH)2\t[M+Q]+\nC2H6O\n";
    const Outcome result = runShipped("--threads 2 --batch -", input);
    EXPECT_EQ(result.status, 1) << result.err; // two lines failed
    const std::vector<std::string> rows = linesOf(result.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].rfind("line\tinput\tformula\tfw\tmz\tn0\tcentroid\tmonoisotopicMass", 0), 0u);
    const std::vector<std::string> expectedLines{"3", "4", "5", "6", "7"};
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> fields = fieldsOf(rows[i]);
        ASSERT_EQ(fields.size(), 12u) << rows[i];
        EXPECT_EQ(fields[0], expectedLines[i - 1]);
    }
    EXPECT_NE(fieldsOf(rows[2])[11].find("\"Xy\""), std::string::npos) << rows[2];
    EXPECT_NE(fieldsOf(rows[4])[11].find("Q"), std::string::npos) << rows[4];
    EXPECT_EQ(fieldsOf(rows[3])[8], "[M+H]+");

    // Each row holds what a run of that formula alone reports.
    for (const auto& [row, formula, ion] :
         {std::tuple{1, "C6H12O6", "[M]+"}, std::tuple{3, "Cl2", "[M+H]+"},
          std::tuple{5, "C2H6O", "[M]+"}}) {
        SCOPED_TRACE(formula);
        const json single =
            json::parse(runShipped(std::string("--json --ion '") + ion + "' " + formula).out);
        const std::vector<std::string> fields = fieldsOf(rows[row]);
        EXPECT_EQ(fields[2], single["formula"]);
        EXPECT_EQ(std::stod(fields[3]), single["fw"].get<double>());
        EXPECT_EQ(std::stoi(fields[5]), single["n0"].get<int>());
        EXPECT_EQ(std::stod(fields[6]), single["centroid"].get<double>());
        EXPECT_EQ(std::stod(fields[7]), single["accurate"]["monoisotopicMass"].get<double>());
        EXPECT_EQ(std::stod(fields[9]), single["accurate"]["monoisotopicMz"].get<double>());
        EXPECT_EQ(std::stod(fields[10]), single["accurate"]["mostAbundantMz"].get<double>());
    }
}

TEST_F(OrvaneCalc, BatchRowsOfLabelsAndSequencesHoldTheSingleRunsValues) {
    const char* formulas[] = {"[13C]6{99%}H12O6", "D2O", "peptide(PEPTIDE)", "peptide(<15N>G)"};
    std::string input;
    for (const char* formula : formulas) {
        input += std::string(formula) + "\t[M+H]+\n";
    }
    const Outcome batch = runShipped("--threads 2 --batch -", input);
    ASSERT_EQ(batch.status, 0) << batch.err;
    const std::vector<std::string> rows = linesOf(batch.out);
    ASSERT_EQ(rows.size(), std::size(formulas) + 1);
    for (std::size_t i = 0; i < std::size(formulas); ++i) {
        SCOPED_TRACE(formulas[i]);
        const json single =
            json::parse(runShipped(std::string("--json --ion '[M+H]+' '") + formulas[i] + "'").out);
        const std::vector<std::string> fields = fieldsOf(rows[i + 1]);
        ASSERT_EQ(fields.size(), 12u) << rows[i + 1];
        EXPECT_EQ(fields[2], single["formula"]);
        EXPECT_EQ(std::stoi(fields[5]), single["n0"].get<int>());
        EXPECT_EQ(std::stod(fields[6]), single["centroid"].get<double>());
        EXPECT_EQ(std::stod(fields[7]), single["accurate"]["monoisotopicMass"].get<double>());
        EXPECT_EQ(std::stod(fields[10]), single["accurate"]["mostAbundantMz"].get<double>());
    }
}

TEST_F(OrvaneCalc, EveryFrontEndGivesOneIonOneMzForOneQuestion) {
    // typed formulas, labels with purity, peptides with /z and mods, oligos, averagine,
    // ions with adducts: a single run (TAB and JSON) and a batch line (TSV, CSV, JSON) agree
    const struct {
        const char* input;
        const char* ion; // "" for none asked
        const char* expectedIon;
    } cases[] = {
        {"C6H12O6", "", "[M]+"},
        {"C6H12O6", "[M+Na]+", "[M+Na]+"},
        {"[13C]6{99%}H12O6", "[M+H]+", "[M+H]+"},
        {"peptide(EMEVEESPEK/2)", "", "[M+2H]2+"},
        {"peptide(<[Carbamidomethyl]@C>ACCDK/3)", "", "[M+3H]3+"},
        {"peptide(M[Oxidation]PEPTIDE)", "[M+H]+", "[M+H]+"},
        {"peptide(EMEVEESPEK/2)", "[M+Na]+", "[M+Na]+"},
        {"dna(pACGT)", "[M-H]-", "[M-H]-"},
        {"averagine(5000)", "", "[M]+"},
        {"C8H10N4O2", "[2M+Na]+", "[2M+Na]+"},
        {"peptide(AK[Formula:[13C2][12C-2]]/2)", "", "[M+2H]2+"},
    };
    std::string input;
    for (const auto& c : cases) {
        input += std::string(c.input) + (*c.ion ? std::string("\t") + c.ion : "") + "\n";
    }
    const Outcome tsv = runShipped("--threads 2 --batch -", input);
    const Outcome csv = runShipped("--threads 1 --batch - --format csv", input);
    const Outcome jsonRows = runShipped("--threads 2 --batch - --format json", input);
    ASSERT_EQ(tsv.status, 0) << tsv.err;
    ASSERT_EQ(csv.status, 0) << csv.err;
    ASSERT_EQ(jsonRows.status, 0) << jsonRows.err;
    const std::vector<std::string> tsvRows = linesOf(tsv.out);
    const std::vector<std::string> csvRows = linesOf(csv.out);
    const std::vector<std::string> jsonLines = linesOf(jsonRows.out);
    ASSERT_EQ(tsvRows.size(), std::size(cases) + 1);
    ASSERT_EQ(jsonLines.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(std::string(c.input) + " " + c.ion);
        const std::string asked = *c.ion ? std::string(" --ion '") + c.ion + "'" : "";
        const Outcome singleJson =
            runShipped("--json --skip-pattern" + asked + " '" + c.input + "'");
        ASSERT_EQ(singleJson.status, 0) << singleJson.err;
        const json accurate = json::parse(singleJson.out).at("accurate");
        EXPECT_EQ(accurate.at("ion"), c.expectedIon);
        const double mz = accurate.at("monoisotopicMz").get<double>();
        if (i % 4 == 3) { // the TAB report reads the same numbers; a few rows show it
            const Outcome singleTab = runShipped("--skip-pattern" + asked + " '" + c.input + "'");
            ASSERT_EQ(singleTab.status, 0) << singleTab.err;
            const std::size_t tabMz = singleTab.out.find("\nMonoisotopicMz\t");
            ASSERT_NE(tabMz, std::string::npos);
            EXPECT_EQ(std::stod(singleTab.out.substr(tabMz + 16)), mz);
        }
        const std::vector<std::string> fields = fieldsOf(tsvRows[i + 1]);
        ASSERT_EQ(fields.size(), 12u) << tsvRows[i + 1];
        EXPECT_EQ(fields[8], c.expectedIon);
        EXPECT_EQ(std::stod(fields[9]), mz);
        EXPECT_NE(csvRows[i + 1].find("," + fields[9] + ","), std::string::npos) << csvRows[i + 1];
        const json row = json::parse(jsonLines[i]).at("accurate");
        EXPECT_EQ(row.at("ion"), c.expectedIon);
        EXPECT_EQ(row.at("monoisotopicMz").get<double>(), mz);
        // the window: the formula typed into Enter Formula, the ion box set as asked (its own
        // preset where nothing is, so only rows that ask or bring a charge), the ion it shows
        if (*c.ion || std::string(c.input).find('/') != std::string::npos) {
            testing_support::RecordingNotifier notices;
            BlankCanvas canvas;
            session::Session window(ORVANE_SHARE_DIR, '.', notices, canvas);
            window.Initialize1Click();
            window.enterFormula(c.input);
            if (*c.ion) {
                window.setIonText(c.ion);
            }
            const ions::IonResult shown = window.currentIon();
            EXPECT_EQ(shown.ion, c.expectedIon);
            EXPECT_EQ(shown.monoisotopicMz, mz);
        }
    }
    // the search: a candidate has the m/z of the single run of its ion, and 0 ppm at it
    const Outcome caffeine = runShipped("--json --skip-pattern --ion '[M+H]+' C8H10N4O2");
    ASSERT_EQ(caffeine.status, 0) << caffeine.err;
    const double caffeineMz = json::parse(caffeine.out).at("accurate").at("monoisotopicMz");
    char target[32];
    std::snprintf(target, sizeof target, "%.17g", caffeineMz);
    const Outcome found = runShipped(std::string("--find ") + target + " --json --limit 50");
    ASSERT_EQ(found.status, 0) << found.err;
    bool seen = false;
    const json report = json::parse(found.out);
    for (const json& candidate : report.at("find").at("candidates")) {
        if (candidate.at("formula") == "C8H10N4O2" && candidate.at("ion") == "[M+H]+") {
            seen = true;
            EXPECT_EQ(candidate.at("mz").get<double>(), caffeineMz);
            EXPECT_EQ(candidate.at("ppm").get<double>(), 0);
        }
    }
    EXPECT_TRUE(seen) << found.out;
    // an ion asked for beside a sequence's /z says that it replaces it, wherever it is asked
    EXPECT_NE(tsv.err.find("line 7: notice: the ion [M+Na]+ asked for replaces the sequence's "
                           "/2 ([M+2H]2+)"),
              std::string::npos)
        << tsv.err;
}

// What replaces a sequence's /z, or was read though likely not meant so, is said on standard
// error, in a single run and on each batch line (with its line number); nothing else is.
TEST_F(OrvaneCalc, NoticesSayWhatReplacesASequencesChargeOrIsLikelyNotMeant) {
    const struct {
        const char* arguments;
        const char* input;
        const char* notice; // nullptr: no notice at all
    } cases[] = {
        {"--skip-pattern --ion '[M+Na]+' 'peptide(EMEVEESPEK/2)'", "",
         "notice: the ion [M+Na]+ asked for replaces the sequence's /2"},
        {"--skip-pattern --ion '[M+Na]+' --charge 3 'peptide(EMEVEESPEK/2)'", "",
         "notice: the ion [M+Na]+ and the charge 3 asked for replace the sequence's /2 "
         "([M+2H]2+)"},
        {"--skip-pattern 'peptide(EMEVEESPEK/2)'", "", nullptr},
        {"--skip-pattern 'peptide(GlyGly)'", "",
         "notice: peptide(GlyGly) is read one letter a residue, as GLYGLY; did you mean "
         "peptide(GG)?"},
        {"--batch -", "C6H12O6\naveragine(50)\n",
         "line 2: notice: averagine(50) has no composition of whole atoms"},
        {"--batch -", "C6H12O6\naveragine(5000)\n", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments + std::string(" ") + c.input);
        const Outcome outcome = runShipped(c.arguments, c.input);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        if (c.notice != nullptr) {
            EXPECT_NE(outcome.err.find(c.notice), std::string::npos) << outcome.err;
            EXPECT_EQ(outcome.err.find("notice"), outcome.err.rfind("notice")) << outcome.err;
        } else {
            EXPECT_EQ(outcome.err.find("notice"), std::string::npos) << outcome.err;
        }
    }
}

// orvane-calc with `arguments` on pipes the test holds: each line is sent only once the
// answer to the one before has come, as a program that waits for it would. Returns what came
// after each line (up to its newline); an answer that does not come within 10 s ends the
// talk, so that a held-back row fails the test instead of hanging it.
std::vector<std::string> converse(const std::string& arguments,
                                  const std::vector<std::string>& lines) {
    int toChild[2];
    int fromChild[2];
    if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
        return {};
    }
    const std::string command = std::string("'") + ORVANE_CALC_PATH + "' --data '" +
                                ORVANE_SHARE_DIR + "' " + arguments + " 2>/dev/null";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::close(toChild[1]);
        ::close(fromChild[0]);
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    std::string received;
    const auto readLine = [&] {
        std::string line;
        while (true) {
            const std::size_t end = received.find('\n');
            if (end != std::string::npos) {
                line = received.substr(0, end + 1);
                received.erase(0, end + 1);
                return line;
            }
            pollfd ready{fromChild[0], POLLIN, 0};
            char buffer[4096];
            const ssize_t got =
                ::poll(&ready, 1, 10'000) == 1 ? ::read(fromChild[0], buffer, sizeof buffer) : 0;
            if (got <= 0) {
                line = received;
                received.clear();
                return line;
            }
            received.append(buffer, static_cast<std::size_t>(got));
        }
    };
    std::vector<std::string> answers{readLine()}; // the header
    for (const std::string& line : lines) {
        const std::string sent = line + "\n";
        if (::write(toChild[1], sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) {
            break;
        }
        answers.push_back(readLine());
        if (!answers.back().ends_with('\n')) {
            break; // held back: no use waiting for the next
        }
    }
    ::close(toChild[1]);
    ::close(fromChild[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return answers;
}

TEST_F(OrvaneCalc, ABatchOnAPipeAnswersEachLineBeforeTheNextIsSent) {
    const std::vector<std::string> lines = {"C6H12O6", "H2O", "peptide(EMEVEESPEK/2)"};
    for (const char* threads : {"--threads 1", "--threads 2"}) {
        SCOPED_TRACE(threads);
        const std::vector<std::string> answers =
            converse(std::string(threads) + " --batch -", lines);
        ASSERT_EQ(answers.size(), lines.size() + 1);
        EXPECT_TRUE(answers[0].starts_with("line\t")) << answers[0];
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(answers[i + 1].starts_with(std::to_string(i + 1) + "\t" + lines[i] + "\t"))
                << answers[i + 1];
        }
    }
}

TEST_F(OrvaneCalc, BatchFormatsAndThreadCountsGiveTheSameRows) {
    std::string input;
    for (int carbons = 1; carbons <= 60; ++carbons) {
        input += "C" + std::to_string(carbons) + "H" + std::to_string(2 * carbons + 2) + "\n";
    }
    input += "C6H12O6\t[M+Na]+\n";
    const Outcome one = runShipped("--threads 1 --batch -", input);
    const Outcome four = runShipped("--threads 4 --batch -", input);
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, four.out);
    EXPECT_EQ(one.err, ""); // no terminal: no progress line

    const Outcome csv = runShipped("--format csv --batch -", input);
    ASSERT_EQ(csv.status, 0) << csv.err;
    const std::vector<std::string> tsvRows = linesOf(one.out), csvRows = linesOf(csv.out);
    ASSERT_EQ(csvRows.size(), tsvRows.size());
    EXPECT_EQ(fieldsOf(csvRows[61], ','), fieldsOf(tsvRows[61]));

    const Outcome jsonLines = runShipped("--format json --batch -", input);
    ASSERT_EQ(jsonLines.status, 0) << jsonLines.err;
    const std::vector<std::string> objects = linesOf(jsonLines.out);
    ASSERT_EQ(objects.size(), 61u);
    json last = json::parse(objects.back());
    EXPECT_EQ(last["line"], 61);
    EXPECT_EQ(last["input"], "C6H12O6");
    last.erase("line");
    last.erase("input");
    EXPECT_EQ(last, json::parse(runShipped("--json --ion '[M+Na]+' C6H12O6").out));

    const Outcome quoted = runShipped("--format csv --batch -", "C6,\"H\"\n");
    EXPECT_EQ(quoted.status, 1);
    EXPECT_EQ(linesOf(quoted.out).at(1).rfind("1,\"C6,\"\"H\"\"\",", 0), 0u) << quoted.out;
}

TEST_F(OrvaneCalc, BatchWithoutItsFileOrDataFailsClearly) {
    Outcome result = runShipped("--batch '" + (m_dir / "none.txt").string() + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("none.txt"), std::string::npos) << result.err;

    result = run(data() + " --batch -", "C6H12O6\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("did not load"), std::string::npos) << result.err;
}

TEST_F(OrvaneCalc, VersionNamesTheDataFilesWithTheirDigests) {
    writeChlorineData();
    write("elem.txt", "abc");
    const Outcome result = run(data() + " --version");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].rfind("orvane-calc ", 0), 0u);
    // SHA-256 of "abc".
    EXPECT_EQ(lines[1], "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  " +
                            (m_dir / "elem.txt").string());
    EXPECT_EQ(lines[3], "missing  " + (m_dir / "masses.txt").string());
    EXPECT_EQ(lines[4], "missing  " + (m_dir / "isotopes.txt").string());
}

TEST_F(OrvaneCalc, OutputThatCannotBeWrittenFails) {
    // a find batch's first rows fail while both threads search the lines after them, which
    // must stop
    std::string targets;
    for (int k = 0; k < 200; ++k) {
        targets += std::to_string(300 + k) + ".1234\n";
    }
    const struct {
        const char* arguments;
        std::string input;
    } cases[] = {
        {"C6H12O6", ""},
        {"--json C6H12O6", ""},
        {"--batch -", "C6H12O6\n"},
        {"--find-batch - --threads 2 --limit 0 --no-rules", targets},
    };
    for (const char* target : {">/dev/full", ">&-"}) {
        SCOPED_TRACE(target);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.arguments);
            const Outcome result = run(
                std::string("--data '") + ORVANE_SHARE_DIR + "' " + c.arguments, c.input, target);
            EXPECT_EQ(result.status, 1);
            EXPECT_NE(result.err.find("cannot write the output"), std::string::npos) << result.err;
        }
    }
}

TEST_F(OrvaneCalc, APictureThatCannotBeWrittenFailsAndKeepsTheOldFile) {
    Outcome result = runShipped("--png /dev/full C6H12O6");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err, "");

    const fs::path picture = m_dir / "kept.png";
    write("kept.png", "old picture");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    result = runShipped("--png '" + picture.string() + "' C6H12O6");
    fs::permissions(m_dir, fs::perms::owner_all);
    if (::geteuid() != 0) { // root writes into any folder
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(readFile(picture), "old picture");
    }
}

TEST_F(OrvaneCalc, WorksInADeletedWorkingDirectory) {
    const fs::path gone = m_dir / "gone";
    fs::create_directories(gone);
    const std::string command = "cd '" + gone.string() + "' && rmdir '" + gone.string() + "' && '" +
                                ORVANE_CALC_PATH + "' --data '" + ORVANE_SHARE_DIR +
                                "' C6H12O6 >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
    const std::string withoutData = "mkdir '" + gone.string() + "' && cd '" + gone.string() +
                                    "' && rmdir '" + gone.string() + "' && '" + ORVANE_CALC_PATH +
                                    "' C6H12O6 >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(withoutData.c_str())), 1); // the data files are missing
}

TEST_F(OrvaneCalc, ProfileAndMeasuredSpectrumComeFromTheSameCore) {
    // A measured peak list of [M+H]+ of glucose as the theory has it: a score of 1.
    const fs::path profile = m_dir / "profile.txt";
    const Outcome theory = runShipped("--json --ion '[M+H]+' --resolution 20000 --profile '" +
                                      profile.string() + "' C6H12O6");
    ASSERT_EQ(theory.status, 0) << theory.err;
    const json clusters = json::parse(theory.out)["accurate"]["clusters"];
    std::string peaks = "m/z\tintensity\n";
    for (const json& cluster : clusters) {
        peaks += std::to_string(cluster["mz"].get<double>()) + "\t" +
                 std::to_string(cluster["intensity"].get<double>()) + "\n";
    }
    write("measured.txt", peaks);

    const std::vector<std::string> lines = linesOf(readFile(profile));
    ASSERT_GT(lines.size(), 40u);
    EXPECT_EQ(lines[0].front(), '#');
    double tallest = 0, tallestMz = 0;
    for (const std::string& line : lines) {
        if (line.front() != '#') {
            const std::vector<std::string> fields = fieldsOf(line);
            ASSERT_EQ(fields.size(), 2u) << line;
            if (std::stod(fields[1]) > tallest) {
                tallest = std::stod(fields[1]);
                tallestMz = std::stod(fields[0]);
            }
        }
    }
    EXPECT_EQ(tallest, 100.0);
    EXPECT_NEAR(tallestMz, 181.07066, 0.002); // FWHM at R 20000 is 0.009

    const Outcome match = runShipped("--json --ion '[M+H]+' --measured '" +
                                     (m_dir / "measured.txt").string() + "' C6H12O6");
    ASSERT_EQ(match.status, 0) << match.err;
    const json measured = json::parse(match.out).at("measured");
    EXPECT_EQ(measured["spectrum"], 0);
    EXPECT_NEAR(measured["score"].get<double>(), 1.0, 1e-6);
    EXPECT_NEAR(measured["basePeakMz"].get<double>(), 181.07066, 5e-6);
    EXPECT_FALSE(measured["clusters"].empty());

    const Outcome noSuch = runShipped("--ion '[M+H]+' --spectrum 3 --measured '" +
                                      (m_dir / "measured.txt").string() + "' C6H12O6");
    EXPECT_EQ(noSuch.status, 1);
    EXPECT_NE(noSuch.err.find("no spectrum 3"), std::string::npos) << noSuch.err;

    write("junk.txt", std::string("\x01\x02\x03 not a spectrum", 19));
    const Outcome junk = runShipped("--measured '" + (m_dir / "junk.txt").string() + "' C6H12O6");
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.err.find("junk.txt"), std::string::npos) << junk.err;
}

TEST_F(OrvaneCalc, TheMatchNamesWhatTheTheoryDoesNotExplain) {
    // [M+H]+ of glucose, a peak between its clusters and the spectrum's base peak far away
    write("peaks.txt", "100.0\t5000\n181.070665\t100\n181.5\t20\n182.074112\t6.87\n");
    const std::string measured = " --measured '" + (m_dir / "peaks.txt").string() + "'";
    const Outcome fwhm = runShipped("--json --ion '[M+H]+'" + measured + " C6H12O6");
    ASSERT_EQ(fwhm.status, 0) << fwhm.err;
    const json match = json::parse(fwhm.out).at("measured");
    EXPECT_EQ(match["basePeakMz"], 100.0); // of the whole spectrum
    EXPECT_EQ(match["basePeakIntensity"], 5000.0);
    EXPECT_EQ(match["rangeBasePeakMz"], 181.070665); // what the overlay is scaled by
    EXPECT_NEAR(match["unexplained"].get<double>(), 20 / 126.87, 1e-12);
    EXPECT_LT(match["score"].get<double>(), 0.99);
    const json first = match["clusters"].at(0);
    EXPECT_EQ(first["measuredMz"], 181.070665);
    EXPECT_NEAR(first["ppm"].get<double>(), 0.0025, 0.001);
    EXPECT_TRUE(match["clusters"].at(2)["measuredMz"].is_null()); // nothing measured there

    // 0.001 ppm explains none of them
    const Outcome narrow =
        runShipped("--json --tolerance 0.001 --ion '[M+H]+'" + measured + " C6H12O6");
    ASSERT_EQ(narrow.status, 0) << narrow.err;
    EXPECT_EQ(json::parse(narrow.out)["measured"]["unexplained"], 1.0);

    // no measured peak in the range: said, and no score
    const Outcome none = runShipped("--ion '[M+Na]+'" + measured + " C12H22O11");
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_NE(
        none.err.find("notice: the measured spectrum has no peak between 364.6054 and 368.6134"),
        std::string::npos)
        << none.err;
    EXPECT_NE(none.out.find("Score\tnone\tthe measured spectrum has no peak between"),
              std::string::npos);
    const Outcome noneJson = runShipped("--json --ion '[M+Na]+'" + measured + " C12H22O11");
    EXPECT_TRUE(json::parse(noneJson.out)["measured"]["score"].is_null());
}

TEST_F(OrvaneCalc, ListsTheClustersDownTo1e6PercentAndSaysWhatItRounded) {
    const Outcome cut = runShipped("--json --ion '[M+H]+' C6H12O6");
    const Outcome all = runShipped("--json --clusters-all --ion '[M+H]+' C6H12O6");
    ASSERT_EQ(cut.status, 0) << cut.err;
    const json listed = json::parse(cut.out)["accurate"]["clusters"];
    EXPECT_LT(listed.size(), json::parse(all.out)["accurate"]["clusters"].size());
    for (const json& cluster : listed) {
        EXPECT_GE(cluster["intensity"].get<double>(), 1e-6);
    }

    const Outcome rounded = runShipped("--ion '[M+H]2+' C2H6.5");
    ASSERT_EQ(rounded.status, 0) << rounded.err;
    EXPECT_NE(rounded.err.find("notice: [M+H]2+: the adducts give the charge 1+, not 2+; "
                               "computed as written (meant [M+2H]2+?)"),
              std::string::npos)
        << rounded.err;
    EXPECT_NE(rounded.err.find("notice: accurate masses use whole atoms: H 6.5 taken as 6"),
              std::string::npos)
        << rounded.err;

    const Outcome unknown = runShipped("'[99C]6H12O6'");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("names no known isotope of C"), std::string::npos) << unknown.err;
    const Outcome hydrate = runShipped("--json FeCl3.6H2O");
    ASSERT_EQ(hydrate.status, 0) << hydrate.err;
    EXPECT_NEAR(json::parse(hydrate.out)["fw"].get<double>(), 270.285, 1e-9); // 270.29
}

} // namespace
} // namespace orvane::cli::testing

namespace orvane::cli::testing {
namespace {

// --skip-pattern leaves the pattern out of the report and the JSON; the exact pattern is
// then calculated only for the pattern files and pictures asked for.
TEST_F(OrvaneCalc, SkipPatternLeavesThePatternOut) {
    const Outcome report = runShipped("--skip-pattern --ion '[M+H]+' C6H12O6");
    EXPECT_EQ(report.status, 0) << report.err;
    const auto lines = fields(report.out);
    EXPECT_EQ(lines.at("Formula"), "H12C6O6");
    EXPECT_EQ(lines.count("N0"), 0u);
    EXPECT_EQ(lines.count("Peak 180"), 0u);
    EXPECT_EQ(lines.count("Range"), 0u);
    EXPECT_EQ(lines.count("MonoisotopicMz"), 1u);

    const json object = json::parse(runShipped("--skip-pattern --json C6H12O6").out);
    for (const char* key : {"n0", "w", "centroid", "span", "range", "pattern"}) {
        EXPECT_FALSE(object.contains(key)) << key;
    }
    EXPECT_NEAR(object["accurate"]["monoisotopicMass"].get<double>(), 180.06339, 5e-6);

    // a pattern file asked for is still written, from the exact pattern
    const std::string file = (m_dir / "glucose.txt").string();
    const Outcome saved = runShipped("--skip-pattern --normal '" + file + "' C6H12O6");
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(readFile(file).find("  180.06\t100.000\r\n"), std::string::npos) << readFile(file);
    EXPECT_EQ(fields(saved.out).count("N0"), 0u);
}

} // namespace
} // namespace orvane::cli::testing
