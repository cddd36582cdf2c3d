#include "session/session.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_tables.h"
#include "formula/formula_reader.h"
#include "support/recording_notifier.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::session {
namespace {

using namespace ions;

// Counts what is drawn; the picture itself is tested with the renderer.
class CountingCanvas : public plot::Canvas {
public:
    int width() const override { return 782; }
    int height() const override { return 553; }
    void setPen(int, plot::Color, plot::PenStyle) override {}
    void setBrush(plot::Color) override {}
    void setFont(int, plot::Color) override {}
    void clear(plot::Color) override { ++pages; }
    void rectangle(long long, long long, long long, long long) override {}
    void moveTo(long long, long long) override {}
    void lineTo(long long, long long) override { ++lines; }
    void textOut(long long, long long, const std::string& text) override { texts.push_back(text); }
    int textWidth(const std::string& text) const override {
        return 6 * static_cast<int>(text.size());
    }
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
    void loadAndCalculate(const std::string& c, const std::string& br, const std::string& cl) {
        session.Initialize1Click();
        session.enterCounts({{1, c}, {2, br}, {3, cl}});
    }
    const SessionState& state() const { return session.state(); }

    testing_support::TempDirectory m_dir;
    testing_support::RecordingNotifier notifier;
    CountingCanvas canvas;
    Session session{m_dir.path(), '.', notifier, canvas, SessionTiming{{}}};
};

TEST_F(LoadedSession, TheWholeChainRunsFromTheCounts) {
    loadAndCalculate("2", "1", "0");
    EXPECT_EQ(state().texts.formulaText, "C2Br1");
    EXPECT_EQ(state().texts.weightText, "103.926");
    EXPECT_EQ(state().pattern.n0, 104);
    EXPECT_EQ(state().pattern.w, 3);
    EXPECT_EQ(state().pattern.p[103], 100.0);
    EXPECT_EQ(state().texts.msRangeLowerText, "98");
    EXPECT_EQ(state().texts.msRangeUpperText, "110");
    // The range and the drawing ran: five points above 0.001 around 104.
    EXPECT_EQ(state().plotState.s, 5);
    EXPECT_EQ(state().texts.lowerMzText, "99");
    EXPECT_EQ(state().texts.upperMzText, "109");
    EXPECT_EQ(canvas.pages, 1);
    EXPECT_TRUE(state().hasPicture);
    EXPECT_TRUE(notifier.notices.empty());
}

// A batch row's session gives the same texts, N0, centroid and ion, row after row, whether
// its counts are composed without the table or go through it (labels, decimal counts), and
// leaves what only the window shows (percentages, MS data grid, plot range) as it was.
TEST(SessionWithoutWindowWork, GivesTheRowsColumnsAndLeavesTheWindowsParts) {
    testing::ShippedSession lean("H2O");
    const SessionState before = lean.session.state();
    lean.session.leaveOutWindowWork();
    for (const char* formula : {"C6H12O6", "C257H383N65O77S6", "[13C]6H12O6", "C2H3Cl3Br2",
                                "H6C2.5", "C6H12O6", "CH3CH2OH"}) {
        SCOPED_TRACE(formula);
        const testing::ShippedSession full(formula);
        const formula::FormulaCounts read =
            formula::readFormula(formula, lean.session.state().reader, '.');
        std::vector<CountText> counts;
        for (const formula::ElementCount& count : read.counts) {
            counts.push_back({count.column, count.countText});
        }
        lean.session.enterRowCounts(counts, {}, read.labels);
        const SessionState& state = lean.session.state();
        EXPECT_EQ(state.texts.formulaText, full.session.state().texts.formulaText);
        EXPECT_EQ(state.texts.weightText, full.session.state().texts.weightText);
        EXPECT_EQ(state.texts.averageMzText, full.session.state().texts.averageMzText);
        EXPECT_EQ(state.pattern.n0, full.session.state().pattern.n0);
        EXPECT_EQ(state.pattern.centroid, full.session.state().pattern.centroid);
        const IonResult ion = full.session.currentIon();
        const IonResult row = lean.session.currentIonForRow();
        EXPECT_EQ(row.monoisotopicMass, ion.monoisotopicMass);
        EXPECT_EQ(row.monoisotopicMz, ion.monoisotopicMz);
        EXPECT_EQ(row.mostAbundantMz, ion.mostAbundantMz);
        EXPECT_EQ(row.lightestMz, ion.lightestMz);
        EXPECT_EQ(row.notices, ion.notices);

        EXPECT_EQ(state.tables.elements.cell(1, data::PercentRow),
                  before.tables.elements.cell(1, data::PercentRow));
        EXPECT_EQ(state.msData.rowCount(), before.msData.rowCount());
        EXPECT_EQ(state.msData.value(18), before.msData.value(18));
        EXPECT_EQ(state.texts.lowerMzText, before.texts.lowerMzText);
        EXPECT_EQ(state.plotState.spanFirst, before.plotState.spanFirst);
    }
}

// A cell edited through the count dialog may be a symbol or a weight: a formula typed
// afterwards reads the table as it now stands, as the counts do.
TEST(EditedTable, TypedFormulasReadTheEditedSymbolsAndWeights) {
    testing::ShippedSession shipped("H2O");
    Session& session = shipped.session;
    const int carbon = 6;
    ASSERT_EQ(session.state().tables.elements.cell(carbon, data::SymbolRow), "C");

    session.enterCell(carbon, data::SymbolRow, "Q");
    session.enterFormula("Q2H4");
    EXPECT_EQ(session.state().texts.formulaText, "H4Q2");
    EXPECT_EQ(shipped.ion("[M+H]+").ionFormula, "H5Q2");
    EXPECT_THROW(session.enterFormula("C2H4"), text::Error);

    // the typed counts are weighed with the weight as edited
    session.enterCell(carbon, data::WeightRow, "13");
    session.enterFormula("Q1");
    EXPECT_EQ(session.state().texts.weightText, "13");
}

TEST_F(LoadedSession, ABadCountStopsTheChainAndKeepsThePattern) {
    loadAndCalculate("2", "1", "0");
    const std::vector<double> before = state().pattern.p;
    try {
        session.enterCell(2, data::CountRow, "abc");
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "'abc' は浮動小数点数ではありません");
    }
    EXPECT_EQ(state().pattern.p, before);
    EXPECT_EQ(canvas.pages, 1);
}

TEST_F(LoadedSession, TheLoadResetsTheFormulaWeightAfterTheElementFile) {
    loadAndCalculate("2", "1", "0");
    ASSERT_GT(state().composition.formulaWeight, 0.0);
    session.Initialize1Click();
    EXPECT_EQ(state().composition.formulaWeight, 0.0);
    EXPECT_EQ(state().texts.weightText, "0");
    EXPECT_EQ(state().tables.isotopes.rowCount(), 4);
    EXPECT_TRUE(notifier.notices.empty());
}

TEST_F(LoadedSession, AMissingElementFileStillLoadsTheAbundanceFile) {
    std::filesystem::remove(m_dir.file("elem.txt"));
    session.editText(EditableText::Weight, "12.5");
    session.Initialize1Click();
    // The count stays 44, so the three abundance lines do not match it.
    EXPECT_EQ(notifier.notices,
              (std::vector<std::string>{
                  "elem.txt involving element names and their atomic weights doest not exit!",
                  "The numbers of atoms defined in elems.txt and abundance2.txt are not equal!!  "
                  "They should be consistent to each other!!"}));
    EXPECT_EQ(state().tables.elements.columnCount(), 113);
    EXPECT_EQ(state().tables.isotopes.rowCount(), 113);
    EXPECT_EQ(state().texts.weightText, "12.5");
}

TEST_F(LoadedSession, AnUnreadableElementFileStopsTheWholeLoad) {
    // A regular file that fails to read even for root.
    std::filesystem::remove(m_dir.file("elem.txt"));
    std::filesystem::create_symlink("/proc/self/mem", m_dir.file("elem.txt"));
    session.editText(EditableText::Weight, "12.5");
    try {
        session.Initialize1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "I/O エラー (5)");
    }
    EXPECT_EQ(state().texts.weightText, "12.5");
    EXPECT_EQ(state().tables.isotopes.rowCount(), 113); // not touched
    EXPECT_EQ(state().tables.isotopes.cell(0, 0), "");
}

TEST_F(LoadedSession, InitializationBeforeTheLoadDrawsTheEmptyFormula) {
    session.Initialization1Click();
    ASSERT_EQ(state().tables.elements.columnCount(), 113);
    for (int column = 1; column < 113; ++column) {
        ASSERT_EQ(state().tables.elements.cell(column, data::CountRow), "0") << column;
        ASSERT_EQ(state().tables.elements.cell(column, data::PercentRow), "0") << column;
    }
    EXPECT_EQ(state().tables.elements.cell(0, data::CountRow), "");
    EXPECT_EQ(state().texts.weightText, "0");
    EXPECT_EQ(state().texts.formulaText, "");
    ASSERT_EQ(state().pattern.p, std::vector<double>{100.0});
    EXPECT_EQ(state().plotState.s, 1);
    EXPECT_EQ(canvas.pages, 2); // the chain's drawing, then the command's own
    // The load still happens afterwards, as at the first click.
    session.Initialize1Click();
    EXPECT_EQ(state().tables.elements.columnCount(), 4);
}

TEST_F(LoadedSession, InitializationAfterACalculationEmptiesTheFormula) {
    loadAndCalculate("2", "1", "0");
    session.Initialization1Click();
    EXPECT_EQ(state().texts.formulaText, "");
    EXPECT_EQ(state().tables.elements.cell(1, data::CountRow), "0");
    EXPECT_EQ(state().tables.elements.cell(1, data::PercentRow), "0");
    EXPECT_EQ(state().pattern.n0, 0);
    EXPECT_EQ(state().workGrid.rowCount(), 1);
}

TEST_F(LoadedSession, DisplayHandlersBeforeTheFirstCalculationDrawNothing) {
    session.setThresholdText("5");
    EXPECT_EQ(state().texts.thresholdPercentText, "0.5");
    session.SpinEdit1Change();
    session.Button1Click();
    session.Button3Click();
    EXPECT_EQ(canvas.pages, 0);
    EXPECT_FALSE(state().hasPicture);
    EXPECT_THROW(session.savePattern(m_dir.file("out.txt"), exporting::Layout::Normal),
                 text::Error);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("out.txt")));
    EXPECT_THROW(session.normalPatternText(), text::Error);
}

TEST_F(LoadedSession, ApplyKeepsTheManualRangeUntilTheNextRangeComputation) {
    loadAndCalculate("0", "0", "2");
    session.editText(EditableText::LowerMz, "70");
    session.editText(EditableText::UpperMz, " 75.0 ");
    session.Button1Click();
    EXPECT_FALSE(state().settings.manualRange);
    EXPECT_EQ(state().plotState.xmin, 70.0);
    EXPECT_EQ(state().plotState.xmax, 75.0);
    EXPECT_EQ(state().texts.upperMzText, "75"); // rewritten in general text

    session.setThresholdText("0"); // drawing alone: the manual range stays
    EXPECT_EQ(state().plotState.xmin, 70.0);

    session.setChargeText("2"); // a range computation: automatic again, Cl2's 69 .. 75 over 2
    EXPECT_EQ(state().plotState.xmin, 34.5);
    EXPECT_EQ(state().texts.lowerMzText, "34.5");
}

TEST_F(LoadedSession, ApplyWithBadOrEqualBoundsReportsAndLeavesTheRightState) {
    loadAndCalculate("0", "0", "2");
    const plot::PlotState before = state().plotState;

    session.editText(EditableText::LowerMz, "x");
    try {
        session.Button1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "'x' は浮動小数点数ではありません");
    }
    EXPECT_EQ(state().plotState.xmin, before.xmin);
    EXPECT_EQ(state().plotState.xmax, before.xmax);

    // A bad right bound: the left one is already stored, nothing is redrawn.
    session.editText(EditableText::LowerMz, "69");
    session.editText(EditableText::UpperMz, "");
    EXPECT_THROW(session.Button1Click(), text::Error);
    EXPECT_EQ(state().plotState.xmin, 69.0);
    EXPECT_EQ(state().plotState.xmax, before.xmax);
    EXPECT_EQ(canvas.pages, 1);

    // Equal bounds collapse the extents: the drawing stops before anything is drawn.
    session.editText(EditableText::LowerMz, "72");
    session.editText(EditableText::UpperMz, "72");
    try {
        session.Button1Click();
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "0 による浮動小数点数除算");
    }
    EXPECT_FALSE(state().settings.manualRange);
    EXPECT_EQ(state().texts.lowerMzText, "72");
    EXPECT_EQ(canvas.pages, 1);

    session.SpinEdit1Change();
    EXPECT_EQ(state().plotState.xmin, 69.0);
    EXPECT_EQ(canvas.pages, 2);
}

TEST_F(LoadedSession, ACancelledRunPutsThePreviousFormulaBack) {
    loadAndCalculate("2", "1", "0");
    const std::string formula = state().texts.formulaText;
    const std::string percent = state().tables.elements.cell(1, data::PercentRow);
    const std::vector<double> pattern = state().pattern.p;
    const std::string edit5 = state().texts.msRangeLowerText;

    long long calls = 0;
    const Outcome outcome =
        session.enterCell(1, data::CountRow, "20000", [&](long long, long long) {
            ++calls;
            return false;
        });
    EXPECT_EQ(outcome, Outcome::Cancelled);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(state().texts.formulaText, formula);
    EXPECT_EQ(state().tables.elements.cell(1, data::PercentRow), percent);
    EXPECT_EQ(state().tables.elements.cell(1, data::CountRow), "2"); // the cell too
    EXPECT_EQ(state().pattern.p, pattern);
    EXPECT_EQ(state().texts.msRangeLowerText, edit5);
    EXPECT_EQ(canvas.pages, 1);

    // Let it run: the new formula arrives.
    EXPECT_EQ(
        session.enterCell(1, data::CountRow, "20000", [](long long, long long) { return true; }),
        Outcome::Done);
    EXPECT_EQ(state().texts.formulaText, "C20000Br1");
}

// The boxes' rules: a typed value stands until the box is left, a text that is no number
// counts as the minimum, steps are clamped, and only a changed text runs the handler.
TEST_F(LoadedSession, ChargeAndThresholdBoxesFollowTheirValueRules) {
    loadAndCalculate("0", "0", "2");
    struct Step {
        const char* what;
        std::function<void(Session&)> command;
        const char* chargeText;
        const char* thresholdText;
        int drawings; // pages drawn by this step
    };
    const Step steps[] = {
        {"typed 250", [](Session& s) { s.setChargeText("250"); }, "250", "1", 1},
        {"left the box", [](Session& s) { s.leaveCharge(); }, "100", "1", 1},
        {"left again", [](Session& s) { s.leaveCharge(); }, "100", "1", 0},
        {"step up at the top", [](Session& s) { s.stepCharge(1); }, "100", "1", 0},
        {"step down", [](Session& s) { s.stepCharge(-1); }, "99", "1", 1},
        {"typed abc", [](Session& s) { s.setThresholdText("abc"); }, "99", "abc", 1},
        {"threshold step", [](Session& s) { s.stepThreshold(1); }, "99", "1", 1},
        {"threshold -5", [](Session& s) { s.setThresholdText("-5"); }, "99", "-5", 1},
        {"threshold left", [](Session& s) { s.leaveThreshold(); }, "99", "0", 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const int pages = canvas.pages;
        step.command(session);
        EXPECT_EQ(state().settings.charge.text(), step.chargeText);
        EXPECT_EQ(state().settings.threshold.text(), step.thresholdText);
        EXPECT_EQ(canvas.pages - pages, step.drawings);
    }
    EXPECT_EQ(state().settings.charge.value(), 99);
    EXPECT_EQ(state().texts.thresholdPercentText, "0");
    EXPECT_EQ(state().texts.averageMzText, "0.716161");
}

TEST_F(LoadedSession, ListenersHearOncePerCommandHoweverItEnds) {
    int heard = 0;
    const int key = session.listeners().add([&](StateChanges) { ++heard; });
    session.Initialize1Click();
    EXPECT_EQ(heard, 1);
    session.enterCounts({{1, "2"}}); // the whole chain, one command
    EXPECT_EQ(heard, 2);
    EXPECT_THROW(session.enterCell(1, data::CountRow, "x"), text::Error);
    EXPECT_EQ(heard, 3);
    session.listeners().remove(key);
    session.Initialization1Click();
    EXPECT_EQ(heard, 3);
}

// Each command says what it touched, so that a view recomputes only what depends on it; a
// command inside another adds its parts to the one notice.
TEST_F(LoadedSession, ListenersHearWhatEachCommandTouched) {
    loadAndCalculate("2", "1", "0");
    StateChanges heard;
    int notices = 0;
    const int key = session.listeners().add([&](StateChanges changes) {
        heard = changes;
        ++notices;
    });
    using S = StateChanges;
    const struct {
        const char* command;
        std::function<void()> run;
        StateChanges touched;   // all of these
        StateChanges untouched; // none of these
    } cases[] = {
        {"a range box", [&] { session.editText(EditableText::LowerMz, "10"); }, S::Display,
         session::ionInputs | S::ProfileBoxes | S::Measured | S::Threshold},
        {"the resolving power", [&] { session.setResolvingPowerText("1e5"); }, S::ProfileBoxes,
         session::ionInputs | S::Display},
        {"the ion box", [&] { session.setIonText("[M+Na]+"); }, S::Ion,
         S::Formula | S::Charge | S::ProfileBoxes},
        {"the instrument", [&] { session.setInstrument("Orbitrap"); }, S::Instrument,
         session::ionInputs},
        {"the ladder's range", [&] { session.setLadderRangeText("1-3"); }, S::LadderRange,
         session::ionInputs},
        {"the threshold", [&] { session.setThresholdText("5"); }, S::Threshold, session::ionInputs},
        {"a formula, with its chain", [&] { session.enterFormula("C2Br"); },
         S::Formula | S::History, S::Measured},
        {"counts, with their chain",
         [&] {
             session.enterCounts({{1, "3"}});
         },
         S::Formula | S::Display, S::Ion | S::History},
        {"the history alone", [&] { session.restoreFormulaHistory({"CBr"}); }, S::History,
         session::ionInputs | S::Display},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const int before = notices;
        c.run();
        EXPECT_EQ(notices, before + 1); // one notice per command, inner commands included
        EXPECT_TRUE(heard.includes(c.touched));
        EXPECT_FALSE(heard.touches(c.untouched));
    }
    session.Initialization1Click();
    EXPECT_EQ(heard, StateChanges::all());
    session.listeners().remove(key);
}

TEST_F(LoadedSession, AFormulaReplacesEveryCountAndACancelPutsThemBack) {
    loadAndCalculate("2", "1", "0");
    EXPECT_EQ(session.enterCounts({{3, "2"}, {9, "5"}, {3, "4"}}), Outcome::Done);
    EXPECT_EQ(state().tables.elements.cell(1, data::CountRow), "0");
    EXPECT_EQ(state().tables.elements.cell(3, data::CountRow), "4"); // the later count wins
    EXPECT_EQ(state().texts.formulaText, "Cl4");

    const Outcome outcome =
        session.enterCounts({{1, "30000"}}, [](long long, long long) { return false; });
    EXPECT_EQ(outcome, Outcome::Cancelled);
    EXPECT_EQ(state().tables.elements.cell(1, data::CountRow), "0");
    EXPECT_EQ(state().tables.elements.cell(3, data::CountRow), "4");
    EXPECT_EQ(state().texts.formulaText, "Cl4");
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

TEST_F(LoadedSession, ThePatternTextIsWhatSaveNormalWrites) {
    loadAndCalculate("0", "0", "2");
    const std::string path = m_dir.file("pattern.txt");
    EXPECT_TRUE(session.savePattern(path, exporting::Layout::Normal));
    const std::string text = session.normalPatternText();
    EXPECT_EQ(text, m_dir.read("pattern.txt"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 2 * 3 + 1);
}

} // namespace
} // namespace orvane::session
