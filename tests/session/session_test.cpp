#include "session/session.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_tables.h"
#include "support/recording_notifier.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane {
namespace {

// Counts what is drawn; the picture itself is tested with the renderer.
class CountingCanvas : public plot::Canvas {
public:
    int width() const override { return 782; }
    int height() const override { return 553; }
    void setPen(int, plot::Color, plot::PenStyle) override {}
    void setBrush(plot::Color) override {}
    void setFont(int, plot::Color) override {}
    void rectangle(long long, long long, long long, long long) override { ++pages; }
    void moveTo(long long, long long) override {}
    void lineTo(long long, long long) override { ++lines; }
    void textOut(long long, long long, const std::string& text) override { texts.push_back(text); }
    int pages = 0;
    int lines = 0;
    std::vector<std::string> texts;
};

std::string isotopeLine(const std::string& width, const std::vector<std::string>& offsets,
                        const std::vector<std::string>& abundances, const std::string& symbol) {
    std::string line = width;
    for (int k = 0; k < 9; ++k) {
        line += "\t" + (k < static_cast<int>(offsets.size()) ? offsets[k] : std::string("0"));
    }
    for (int k = 0; k < 10; ++k) {
        line += "\t" + (k < static_cast<int>(abundances.size()) ? abundances[k] : std::string("0"));
    }
    return line + "\t" + symbol + "\r\n";
}

class LoadedSession : public ::testing::Test {
protected:
    void SetUp() override {
        // C and Br as in the negative-offset example, Cl as in the dichlorine one.
        m_dir.write("elem.txt", "Atom\tC\tBr\tCl\r\nAW\t12.011\t79.904\t35.45\r\n");
        m_dir.write("abundances.txt",
                    isotopeLine("1", {"1"}, {"98.9", "1.1"}, "C") +
                        isotopeLine("1", {"-1", "1"}, {"0", "50.69", "49.31"}, "Br") +
                        isotopeLine("2", {"2"}, {"75.77", "24.23"}, "Cl"));
    }
    void setCount(int column, const std::string& count) {
        session.tables.elements.setCell(column, data::CountRow, count);
    }
    void loadAndCalculate(const std::string& c, const std::string& br, const std::string& cl) {
        session.Initialize1Click();
        setCount(1, c);
        setCount(2, br);
        setCount(3, cl);
        session.Calculate1Click();
    }

    testing_support::TempDirectory m_dir;
    testing_support::RecordingNotifier notifier;
    CountingCanvas canvas;
    Session session{m_dir.path(), '.', notifier, canvas};
};

TEST_F(LoadedSession, TheWholeChainRunsFromTheCounts) {
    loadAndCalculate("2", "1", "0");
    EXPECT_EQ(session.composition.formulaText, "C2Br1");
    EXPECT_EQ(session.composition.weightText, "103.926");
    EXPECT_EQ(session.pattern.n0, 104);
    EXPECT_EQ(session.pattern.w, 3);
    EXPECT_EQ(session.pattern.p[103], 100.0);
    EXPECT_EQ(session.msRange.edit5, "98");
    EXPECT_EQ(session.msRange.edit6, "110");
    // The range and the drawing ran: five points above 0.001 around 104.
    EXPECT_EQ(session.plotState.s, 5);
    EXPECT_EQ(session.controls.edit1, "99");
    EXPECT_EQ(session.controls.edit2, "109");
    EXPECT_EQ(canvas.pages, 1);
    EXPECT_TRUE(session.hasPicture());
    EXPECT_TRUE(notifier.notices.empty());
}

TEST_F(LoadedSession, ABadCountStopsTheChainAndKeepsThePattern) {
    loadAndCalculate("2", "1", "0");
    const std::vector<double> before = session.pattern.p;
    setCount(2, "abc");
    try {
        session.Calculate1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "'abc' は浮動小数点数ではありません");
    }
    EXPECT_EQ(session.pattern.p, before);
    EXPECT_EQ(canvas.pages, 1);
}

TEST_F(LoadedSession, TheLoadResetsTheFormulaWeightAfterTheElementFile) {
    session.composition.formulaWeight = 12.5;
    session.composition.weightText = "12.5";
    session.Initialize1Click();
    EXPECT_EQ(session.composition.formulaWeight, 0.0);
    EXPECT_EQ(session.composition.weightText, "0");
    EXPECT_EQ(session.tables.isotopes.rowCount(), 4);
    EXPECT_TRUE(notifier.notices.empty());
}

TEST_F(LoadedSession, AMissingElementFileStillLoadsTheAbundanceFile) {
    std::filesystem::remove(m_dir.file("elem.txt"));
    session.composition.weightText = "12.5";
    session.Initialize1Click();
    // The count stays 44, so the three abundance lines do not match it.
    EXPECT_EQ(notifier.notices,
              (std::vector<std::string>{
                  "elem.txt involving element names and their atomic weights doest not exit!",
                  "The numbers of atoms defined in elems.txt and abundance2.txt are not equal!!  "
                  "They should be consistent to each other!!"}));
    EXPECT_EQ(session.tables.elements.columnCount(), 113);
    EXPECT_EQ(session.tables.isotopes.rowCount(), 113);
    EXPECT_EQ(session.composition.weightText, "12.5");
}

TEST_F(LoadedSession, AnUnreadableElementFileStopsTheWholeLoad) {
    // A regular file that fails to read even for root.
    std::filesystem::remove(m_dir.file("elem.txt"));
    std::filesystem::create_symlink("/proc/self/mem", m_dir.file("elem.txt"));
    session.composition.weightText = "12.5";
    try {
        session.Initialize1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "I/O エラー (5)");
    }
    EXPECT_EQ(session.composition.weightText, "12.5");
    EXPECT_EQ(session.tables.isotopes.rowCount(), 113); // not touched
    EXPECT_EQ(session.tables.isotopes.cell(0, 0), "");
}

TEST_F(LoadedSession, InitializationBeforeTheLoadDrawsTheEmptyFormula) {
    session.Initialization1Click();
    ASSERT_EQ(session.tables.elements.columnCount(), 113);
    for (int column = 1; column < 113; ++column) {
        ASSERT_EQ(session.tables.elements.cell(column, data::CountRow), "0") << column;
        ASSERT_EQ(session.tables.elements.cell(column, data::PercentRow), "0") << column;
    }
    EXPECT_EQ(session.tables.elements.cell(0, data::CountRow), "");
    EXPECT_EQ(session.composition.weightText, "0");
    EXPECT_EQ(session.composition.formulaText, "");
    ASSERT_EQ(session.pattern.p, std::vector<double>{100.0});
    EXPECT_EQ(session.plotState.s, 1);
    EXPECT_EQ(canvas.pages, 2); // the chain's drawing, then the command's own
    // The load still happens afterwards, as at the first click.
    session.Initialize1Click();
    EXPECT_EQ(session.tables.elements.columnCount(), 4);
}

TEST_F(LoadedSession, InitializationAfterACalculationEmptiesTheFormula) {
    loadAndCalculate("2", "1", "0");
    session.Initialization1Click();
    EXPECT_EQ(session.composition.formulaText, "");
    EXPECT_EQ(session.tables.elements.cell(1, data::CountRow), "0");
    EXPECT_EQ(session.tables.elements.cell(1, data::PercentRow), "0");
    EXPECT_EQ(session.pattern.n0, 0);
    EXPECT_EQ(session.composition.workGrid.rowCount(), 1);
}

TEST_F(LoadedSession, DisplayHandlersBeforeTheFirstCalculationDrawNothing) {
    session.controls.threshold.setText("5");
    session.SpinEdit2Change();
    EXPECT_EQ(session.controls.edit7, "0.5");
    session.SpinEdit1Change();
    session.Button1Click();
    session.Button3Click();
    EXPECT_EQ(canvas.pages, 0);
    EXPECT_FALSE(session.hasPicture());
    EXPECT_THROW(session.savePattern(m_dir.file("out.txt"), exporting::Layout::Normal),
                 text::Error);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("out.txt")));
}

TEST_F(LoadedSession, ApplyKeepsTheManualRangeUntilTheNextRangeComputation) {
    loadAndCalculate("0", "0", "2");
    session.controls.edit1 = "70";
    session.controls.edit2 = " 75.0 ";
    session.Button1Click();
    EXPECT_FALSE(session.controls.manualRange);
    EXPECT_EQ(session.plotState.xmin, 70.0);
    EXPECT_EQ(session.plotState.xmax, 75.0);
    EXPECT_EQ(session.controls.edit2, "75"); // rewritten in general text

    session.controls.threshold.setText("0");
    session.SpinEdit2Change(); // drawing alone: the manual range stays
    EXPECT_EQ(session.plotState.xmin, 70.0);

    session.controls.charge.setText("2");
    session.SpinEdit1Change(); // a range computation: automatic again
    EXPECT_EQ(session.plotState.xmin, 34.0);
    EXPECT_EQ(session.controls.edit1, "34");
}

TEST_F(LoadedSession, ApplyWithBadOrEqualBoundsReportsAndLeavesTheRightState) {
    loadAndCalculate("0", "0", "2");
    const plot::PlotState before = session.plotState;

    session.controls.edit1 = "x";
    try {
        session.Button1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "'x' は浮動小数点数ではありません");
    }
    EXPECT_EQ(session.plotState.xmin, before.xmin);
    EXPECT_EQ(session.plotState.xmax, before.xmax);

    // A bad right bound: the left one is already stored, nothing is redrawn.
    session.controls.edit1 = "69";
    session.controls.edit2 = "";
    EXPECT_THROW(session.Button1Click(), text::Error);
    EXPECT_EQ(session.plotState.xmin, 69.0);
    EXPECT_EQ(session.plotState.xmax, before.xmax);
    EXPECT_EQ(canvas.pages, 1);

    // Equal bounds collapse the extents: the drawing stops before anything is drawn.
    session.controls.edit1 = "72";
    session.controls.edit2 = "72";
    try {
        session.Button1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "0 による浮動小数点数除算");
    }
    EXPECT_FALSE(session.controls.manualRange);
    EXPECT_EQ(session.controls.edit1, "72");
    EXPECT_EQ(canvas.pages, 1);

    session.SpinEdit1Change();
    EXPECT_EQ(session.plotState.xmin, 68.0);
    EXPECT_EQ(canvas.pages, 2);
}

TEST_F(LoadedSession, ACancelledRunPutsThePreviousFormulaBack) {
    loadAndCalculate("2", "1", "0");
    const std::string formula = session.composition.formulaText;
    const std::string percent = session.tables.elements.cell(1, data::PercentRow);
    const std::vector<double> pattern = session.pattern.p;
    const std::string edit5 = session.msRange.edit5;

    setCount(1, "20000");
    long long calls = 0;
    const bool finished = session.calculateWithProgress([&](long long, long long) {
        ++calls;
        return false;
    });
    EXPECT_FALSE(finished);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(session.composition.formulaText, formula);
    EXPECT_EQ(session.tables.elements.cell(1, data::PercentRow), percent);
    EXPECT_EQ(session.tables.elements.cell(1, data::CountRow), "20000"); // what the user typed
    EXPECT_EQ(session.pattern.p, pattern);
    EXPECT_EQ(session.msRange.edit5, edit5);
    EXPECT_EQ(canvas.pages, 1);

    // Let it run: the new formula arrives.
    EXPECT_TRUE(session.calculateWithProgress([](long long, long long) { return true; }));
    EXPECT_EQ(session.composition.formulaText, "C20000Br1");
}

TEST_F(LoadedSession, SavingAsksBeforeReplacingAFile) {
    loadAndCalculate("0", "0", "2");
    const std::string path = m_dir.write("pattern.txt", "keep me");
    notifier.answer = false;
    EXPECT_FALSE(session.savePattern(path, exporting::Layout::Normal));
    EXPECT_EQ(notifier.notices, std::vector<std::string>{"The file already exists!!!!"});
    EXPECT_EQ(m_dir.read("pattern.txt"), "keep me");

    notifier.answer = true;
    EXPECT_TRUE(session.savePattern(path, exporting::Layout::Special));
    const std::string text = m_dir.read("pattern.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 * (2 * 3 + 1));
}

} // namespace
} // namespace orvane
