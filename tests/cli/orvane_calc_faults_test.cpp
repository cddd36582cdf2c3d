// orvane-calc against bad input and the faults of the libraries under it: every failure is a
// message and a status, never an abort or a row that looks right.

#include <fcntl.h>
#include <sys/stat.h>

#include <thread>

#include "measured/measured_test_support.h"
#include "orvane_calc_fixture.h"

namespace orvane::cli::testing {
namespace {

TEST_F(OrvaneCalc, BadIonsAndFormulasAreRefusedWithTheirReason) {
    const struct {
        std::string arguments;
        std::string message; // a part of stderr
    } cases[] = {
        {"--ion '[M+H]6000+' H2", "The ion [M+H]6000+ of H3 has 3 electrons; it cannot lose 6000."},
        {"--ion '[M+H]0+' H2", "must be at least 1"},
        {"0H2O", "Formula \"0H2O\": the formula has no atoms."},
        {"C0", "Formula \"C0\": the formula has no atoms."},
        {"--resolution 0.5 --profile p.tsv H2O",
         "The resolving power must be a number of at least 10, not 0.5."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome result = runShipped(c.arguments);
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

// IsoSpec cannot hold 10.8 million hydrogen atoms and raises std::length_error; the
// profile stands on the clusters instead of the program aborting.
TEST_F(OrvaneCalc, AnIonTooLargeForTheFineStructureFallsBackToClusters) {
    const std::string profile = (m_dir / "p.tsv").string();
    const Outcome result = runShipped("--ion '[2700000M]+' --profile '" + profile + "' H4");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string written = readFile(profile);
    EXPECT_NE(written.find(", clusters\n"), std::string::npos) << written.substr(0, 200);
}

TEST_F(OrvaneCalc, BatchOnADirectoryOrEmptyFormulasFails) {
    Outcome result = runShipped("--batch '" + m_dir.string() + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "orvane-calc: cannot read the batch file " + m_dir.string() +
                              ": a directory, not a file\n");

    result = runShipped("--batch -", "\t[M+H]+\nC0\nH2O\n");
    EXPECT_EQ(result.status, 1) << result.err;
    std::istringstream rows(result.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(rows, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u) << result.out;
    EXPECT_NE(lines[1].find("the formula has no atoms"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("the formula has no atoms"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3].back(), '\t') << lines[3]; // no error
}

TEST_F(OrvaneCalc, ADamagedMassFileMakesTheAccurateMassesUnavailable) {
    writeChlorineData();
    write("masses.txt", "36.96590259\t34.96885268\t0\t0\t0\t0\t0\t0\t0\t0\tCl\r\n");
    const Outcome result = run(data() + " --ion '[M]+' Cl2");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("masses.txt, line 1, field M0: '36.96590259' is not within 0.5 u "
                              "of the mass number 35"),
              std::string::npos)
        << result.err;
}

TEST_F(OrvaneCalc, AFileThatCannotBeWrittenIsNamed) {
    const std::string kinds[] = {"--normal", "--special", "--png", "--profile", "--hires-png"};
    for (const std::string& option : kinds) {
        SCOPED_TRACE(option);
        const Outcome result = runShipped("--ion '[M+H]+' " + option + " /dev/full H2O");
        EXPECT_EQ(result.status, 1);
        // Qt may say something of its own first
        EXPECT_NE(result.err.find("orvane-calc: /dev/full: "), std::string::npos) << result.err;
    }
}

TEST_F(OrvaneCalc, BatchErrorRowsShowANulAndCutALongInput) {
    const std::string longFormula = "C" + std::string(300, 'H') + "Xx";
    const Outcome result = runShipped("--batch -", std::string("H2\0O\n", 5) + longFormula + "\n");
    EXPECT_EQ(result.status, 1);
    std::istringstream rows(result.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(rows, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 3u) << result.out;
    EXPECT_EQ(lines[1], "1\tH2\\0O\t\t\t\t\t\t\t\t\t\tFormula \"H2\\0O\": the control character "
                        "U+0000 at position 3 has no place in a formula.");
    // the input column holds it whole, the message once and cut
    EXPECT_EQ(lines[2], "2\t" + longFormula + "\t\t\t\t\t\t\t\t\t\tFormula \"" +
                            longFormula.substr(0, 200) +
                            "…\": unknown element symbol \"Xx\" at position 302.");
}

TEST_F(OrvaneCalc, MaxSecondsIsAPositiveNumber) {
    for (const std::string value : {"0", "-1", "soon"}) {
        SCOPED_TRACE(value);
        const Outcome result = runShipped("--max-seconds " + value + " H2O");
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_NE(result.err.find("--max-seconds"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

// A million carbon atoms take over a minute: the limit ends the run long before.
TEST_F(OrvaneCalc, MaxSecondsStopsASlowCalculation) {
    const Outcome result = runShipped("--max-seconds 0.2 C1000000");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "orvane-calc: stopped after 0.2 s (--max-seconds 0.2)\n");
    EXPECT_EQ(result.out, "");
}

TEST_F(OrvaneCalc, MaxSecondsStopsOnlyTheSlowLineOfABatch) {
    const Outcome result = runShipped("--max-seconds 0.2 --threads 1 --batch -", "C1000000\nH2O\n");
    EXPECT_EQ(result.status, 1) << result.err;
    std::istringstream rows(result.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(rows, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 3u) << result.out;
    EXPECT_EQ(lines[1], "1\tC1000000\t\t\t\t\t\t\t\t\t\tstopped after 0.2 s (--max-seconds 0.2)");
    EXPECT_EQ(lines[2].substr(0, 6), "2\tH2O\t");
    EXPECT_EQ(lines[2].back(), '\t') << lines[2]; // no error
}

// A FIFO is opened once and read once, as a shell's <(zcat run.mzML.gz) is.
TEST_F(OrvaneCalc, AMeasuredFileThroughAPipeIsReadOnce) {
    using measured::testing::MzmlIndex;
    const struct {
        std::string name;
        std::string bytes;
        int status;
        std::string err; // a part of stderr
    } cases[] = {
        {"run.mzML",
         measured::testing::mzmlDocument({{{181.0707, 182.0740}, {100, 6.7}, 1, "centroid", 1}},
                                         MzmlIndex::Right),
         0, ""},
        {"peaks", "181.0707\t100\n182.0740\t6.7\n", 0, ""},
        {"words", "no peaks here\n", 1, "words: no line holds two numbers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path fifo = m_dir / c.name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::jthread writer([&] { std::ofstream(fifo, std::ios::binary) << c.bytes; });
        const Outcome result =
            runShipped("--ion '[M+H]+' --measured '" + fifo.string() + "' C6H12O6");
        // a run that never opened the FIFO would leave the writer waiting for a reader
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        writer.join();
        ::close(reader);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        if (c.status == 0) {
            EXPECT_NE(result.out.find("\nScore\t"), std::string::npos) << result.out;
        }
    }
}

} // namespace
} // namespace orvane::cli::testing
