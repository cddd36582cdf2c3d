// Runs the real orvane-calc on data files written by the tests.

#include "orvane_calc_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QColor>
#include <QImage>

namespace orvane::cli::testing {
namespace {

TEST_F(OrvaneCalc, DichlorineGivesTheWorkedPatternToTheDigit) {
    writeChlorineData();
    const Outcome result = run(data() + " Cl2");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    auto f = fields(result.out);
    EXPECT_EQ(f["Formula"], "Cl2");
    EXPECT_EQ(f["FW"], "70.9");
    EXPECT_EQ(f["M/Z"], "70.9");
    EXPECT_EQ(f["Percent Cl"], "100.00000");
    EXPECT_EQ(f["N0"], "71");
    EXPECT_EQ(f["W"], "4");
    EXPECT_EQ(f["s"], "3");
    EXPECT_EQ(f["Range"], "69\t75"); // M+4 at 75 lies beyond N0 + s
    EXPECT_EQ(std::strtod(f["Peak 71"].c_str(), nullptr), 100.0);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.15g", std::strtod(f["Peak 73"].c_str(), nullptr));
    EXPECT_STREQ(shown, "63.9567110993797");
    std::snprintf(shown, sizeof shown, "%.15g", std::strtod(f["Peak 75"].c_str(), nullptr));
    EXPECT_STREQ(shown, "10.2261522366238");
    EXPECT_NEAR(std::strtod(f["Centroid"].c_str(), nullptr), 71.9692, 5e-5);
    for (int index = 67; index <= 75; ++index) {
        EXPECT_EQ(f.count("Peak " + std::to_string(index)), 1u) << index;
    }
    EXPECT_EQ(f.count("Peak 66"), 0u);
    EXPECT_EQ(f.count("Peak 76"), 0u);
}

TEST_F(OrvaneCalc, ChargeDividesTheMassButNotThePattern) {
    writeChlorineData();
    const Outcome result = run(data() + " --charge 2 Cl2");
    ASSERT_EQ(result.status, 0) << result.err;
    auto f = fields(result.out);
    EXPECT_EQ(f["M/Z"], "35.45");
    EXPECT_EQ(f["Range"], "34.5\t37.5");
    EXPECT_EQ(std::strtod(f["Peak 71"].c_str(), nullptr), 100.0);
}

TEST_F(OrvaneCalc, ErrorsGoToStderrWithTheirExactTextAndStatusOne) {
    writeChlorineData();
    Outcome result = run(data() + " --count Cl=abc");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "'abc' は浮動小数点数ではありません\n");
    EXPECT_EQ(result.out, "");

    result = run(data() + " --charge 0 Cl2");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "0 による浮動小数点数除算\n");
}

TEST_F(OrvaneCalc, UsageErrorsExitTwoAndRefusedFormulasOne) {
    writeChlorineData();
    Outcome result = run(data() + " Xe2");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Formula \"Xe2\": unknown element symbol \"Xe\" at position 1.\n");
    EXPECT_EQ(result.out, "");

    result = run(data() + " --count Zz=1");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("'Zz'"), std::string::npos) << result.err;

    result = run("--bogus");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--bogus"), std::string::npos) << result.err;

    result = run("--help");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Usage: orvane-calc"), std::string::npos);
    EXPECT_NE(result.out.find("--batch"), std::string::npos);
}

TEST_F(OrvaneCalc, MissingDataFilesAreSaidToBeMissing) {
    // Both notices, then the reason nothing is calculated, with or without a formula.
    for (const std::string formula : {"", " C6H12O6"}) {
        SCOPED_TRACE(formula);
        const Outcome result = run(data() + formula);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err,
                  "notice: elem.txt involving element names and their atomic weights doest not "
                  "exit!\n"
                  "notice: abundances.txt doest not exit!\n"
                  "orvane-calc: cannot calculate: the data files in " + m_dir.string() +
                      " did not load: no element data loaded (elem.txt not found in " +
                      m_dir.string() + ")\n");
    }
}

TEST_F(OrvaneCalc, WritesBothLayoutsAndReplacesAnExistingFileAfterTheNotice) {
    writeChlorineData();
    write("normal.txt", "old contents");
    const fs::path normal = m_dir / "normal.txt";
    const fs::path special = m_dir / "special.txt";
    const Outcome result = run(data() + " --normal '" + normal.string() + "' --special '" +
                               special.string() + "' Cl2");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "notice: The file already exists!!!!\n");

    // s = 3, but M+4 lies beyond N0 + s: indices 69 to 75, mass = FW - centroid + index.
    const std::string normalText = readFile(normal);
    std::vector<std::string> lines;
    std::istringstream in(normalText);
    for (std::string line; std::getline(in, line);) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        lines.push_back(line.substr(0, line.size() - 1));
    }
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "   69.93\t100.000"); // index 71: 70.9 - 71.9692 + 71
    EXPECT_EQ(lines[4], "   71.93\t 63.957");
    EXPECT_EQ(lines[6], "   73.93\t 10.226");
    EXPECT_EQ(lines[0], "   67.93\t  0.000");

    const std::string specialText = readFile(special);
    EXPECT_EQ(specialText.substr(0, 30), "   67.93\t0\r\n   67.93\t  0.000\r\n");
    EXPECT_EQ(std::count(specialText.begin(), specialText.end(), '\n'), 14);
}

TEST_F(OrvaneCalc, PictureShowsFrameTicksAndSticksAtTheirPixels) {
    const fs::path png = m_dir / "cl2.png";
    const Outcome result =
        run(std::string("--data '") + ORVANE_SHARE_DIR + "' --png '" + png.string() + "' Cl2");
    ASSERT_EQ(result.status, 0) << result.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string())));
    ASSERT_EQ(image.size(), QSize(782, 553));
    const auto isBlack = [&](int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); };

    // Frame: columns 40 and 771, rows 5 and 527 (the intensity labels cover the left
    // edge where they stand).
    for (int y : {30, 60, 120, 200, 300, 400, 480, 510, 527}) {
        EXPECT_TRUE(isBlack(40, y)) << y;
        EXPECT_TRUE(isBlack(771, y)) << y;
    }
    EXPECT_TRUE(isBlack(771, 5));
    for (int x = 45; x <= 765; x += 30) {
        EXPECT_TRUE(isBlack(x, 5)) << x;
        EXPECT_TRUE(isBlack(x, 527)) << x;
    }
    // Intensity ticks from column 40 to 29 at the tick rows not covered by labels.
    for (int y : {483, 396, 310, 223, 136, 49}) {
        EXPECT_TRUE(isBlack(30, y)) << y;
        EXPECT_FALSE(isBlack(30, y - 2)) << y;
    }
    // Two sticks reach above row 300 (100 and 64 %), the tallest one up to row 93.
    std::vector<int> tall;
    for (int x = 41; x < 771; ++x) {
        if (isBlack(x, 300)) {
            tall.push_back(x);
        }
    }
    ASSERT_EQ(tall.size(), 2u);
    EXPECT_TRUE(isBlack(tall[0], 93));
    EXPECT_FALSE(isBlack(tall[0], 91));
    // m/z ticks below the frame, rows 528 to 532, one for each of the 2s + 1 indices;
    // the first and the last stand under the frame's edges.
    int ticks = 0;
    for (int x = 40; x <= 771; ++x) {
        ticks += isBlack(x, 531) ? 1 : 0;
    }
    EXPECT_EQ(ticks, 7);
    EXPECT_TRUE(isBlack(40, 532));
    EXPECT_FALSE(isBlack(40, 533));
    // The title is written from column 48, row 10.
    bool titleInk = false;
    for (int y = 10; y < 24 && !titleInk; ++y) {
        for (int x = 48; x < 60; ++x) {
            titleInk = titleInk || isBlack(x, y);
        }
    }
    EXPECT_TRUE(titleInk);
}

TEST_F(OrvaneCalc, PeakLabelsFollowTheThresholdAndTheSwitch) {
    // Blue ink in the band where the tallest peak's label stands (rows 79 to 92); the
    // dotted marker crosses that band too, with one column.
    const auto blueInLabelBand = [&](const std::string& options) {
        const fs::path png = m_dir / "labels.png";
        const Outcome result = run(std::string("--data '") + ORVANE_SHARE_DIR + "' --png '" +
                                   png.string() + "' " + options + " Cl2");
        EXPECT_EQ(result.status, 0) << result.err;
        QImage image;
        EXPECT_TRUE(image.load(QString::fromStdString(png.string())));
        int blue = 0;
        for (int y = 79; y <= 92; ++y) {
            for (int x = 41; x < 771; ++x) {
                blue += image.pixelColor(x, y) == QColor(Qt::blue) ? 1 : 0;
            }
        }
        return blue;
    };
    const int marker = blueInLabelBand("--no-labels");
    EXPECT_LE(marker, 14);
    EXPECT_GT(blueInLabelBand(""), marker + 20);
    EXPECT_EQ(blueInLabelBand("--threshold 1000"), marker); // no peak is above 100 %
    EXPECT_GT(blueInLabelBand("--threshold 999"), marker + 20);
}

TEST_F(OrvaneCalc, EachPictureOptionWritesItsOwnFormat) {
    const fs::path png = m_dir / "s.png", svg = m_dir / "s.svg", pdf = m_dir / "s.pdf",
                   hires = m_dir / "h.png", plain = m_dir / "plain.png";
    Outcome result = runShipped("--png '" + plain.string() + "' C6H12O6");
    ASSERT_EQ(result.status, 0) << result.err;
    result = runShipped("--scale 2 --ion '[M+H]+' --png '" + png.string() + "' --svg '" +
                        svg.string() + "' --pdf '" + pdf.string() + "' --hires-png '" +
                        hires.string() + "' C6H12O6");
    ASSERT_EQ(result.status, 0) << result.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string())));
    EXPECT_EQ(image.size(), QSize(2 * 782, 2 * 553));
    ASSERT_TRUE(image.load(QString::fromStdString(hires.string())));
    EXPECT_EQ(image.size(), QSize(2 * 880, 2 * 420));
    const std::string svgText = readFile(svg), pdfText = readFile(pdf);
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find("H12C6O6"), std::string::npos);
    EXPECT_EQ(pdfText.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdfText.find("%%EOF"), std::string::npos);

    // The picture at 1x is the one the window shows: the session's drawing, unchanged.
    QImage once, again;
    ASSERT_TRUE(once.load(QString::fromStdString(plain.string())));
    ASSERT_EQ(runShipped("--scale 1 --png '" + png.string() + "' C6H12O6").status, 0);
    ASSERT_TRUE(again.load(QString::fromStdString(png.string())));
    EXPECT_EQ(once, again);
}

} // namespace
} // namespace orvane::cli::testing
