#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "calc/composition.h"
#include "calc/isotope_columns_memo.h"
#include "calc/isotope_engine.h"
#include "calc/whole_counts.h"
#include "export/pattern_export.h"
#include "formula/formula_counts.h"
#include "plot/canvas.h"
#include "plot/stick_plot.h"
#include "measured/measured_file.h"
#include "session/change_listeners.h"
#include "ion/charge_ladder.h"
#include "ion/formula_preview.h"
#include "ion/ion_result.h"
#include "ion/typed_ion.h"
#include "session/session_state.h"
#include "session/state_changes.h"
#include "text/notifier.h"

namespace orvane::session {

// How long the count entry blocks before it calculates; tests make it 0.
struct SessionTiming {
    std::chrono::milliseconds countEntryPause{100};
};

// How a calculation that can be cancelled ended; errors raise text::Error instead.
enum class Outcome { Done, Cancelled };

// A count to write into the count cell of an element-table column.
struct CountText {
    int column = 0;
    std::string text;
};

// The one writer of a run's state. Front ends call its commands, read state(), and learn
// of changes from listeners(). Each command runs its part of the calculation chain in
// order and stops at the first text::Error, leaving what it had stored; the chain's
// operations keep their window names (Calculate1Click, Range1Click, ...) so that they can
// be found.
class Session {
public:
    /// `dataDirectory` is fixed for the run; `separator` is the locale's decimal separator.
    Session(std::string dataDirectory, char separator, text::Notifier& notifier,
            plot::Canvas& canvas, SessionTiming timing = {});

    /// The state as the last command left it.
    const SessionState& state() const { return m_state; }
    /// Told after every command, also one that failed or was cancelled.
    ChangeListeners& listeners() { return m_listeners; }
    /// The folder the data files are read from: the given one, or after a load the folder
    /// that search found.
    const std::string& dataDirectory() const { return m_dataDirectory; }
    /// Every load looks for elem.txt in `folders`, in order, and reads the data files from
    /// the first folder holding it (the first folder when none does). Without this the
    /// given data directory is used as it is.
    void searchDataFolders(std::vector<std::string> folders);
    /// For front ends without a window (orvane-calc): Spectrum1Click no longer draws onto
    /// the session's canvas; the picture is drawn only by drawSpectrumOn, when a file asks
    /// for it.
    void drawOnlyOnRequest();
    /// For batch rows, which take the texts, the pattern's N0 and centroid and the ion: the
    /// chain no longer writes the mass percentages, the MS data grid and the plot range,
    /// which keep what they held.
    void leaveOutWindowWork();
    /// The threads the pattern engine shares its long atom steps among, 1 or 2 (the
    /// pattern is the same to the last bit): two where the machine has two cores, one where
    /// the caller runs sessions side by side (batches).
    void setEngineThreads(int threads);
    int engineThreads() const { return m_engineThreads; }
    char separator() const { return m_separator; }

    // --- the load -------------------------------------------------------------------
    /// Loads elem.txt, then always abundances.txt.
    void Initialize1Click();
    /// The load the first click on the element table runs: once per run, repeated while it
    /// ends in an error or finds no elem.txt (a folder mended while Orvane runs is read at
    /// the next click).
    void loadTablesOnce();
    /// Why a formula cannot be read when no element table is loaded: "no element data
    /// loaded (elem.txt not found in ...)"; empty when elem.txt was loaded.
    std::string missingElementDataMessage() const;

    // --- the calculation chain ------------------------------------------------------
    /// The whole chain: composition summary, pattern engine, plot range, drawing.
    void Calculate1Click();
    /// The engine, then Range1Click and Spectrum1Click.
    void IsotopicSimulationforMassSpec1Click();
    void Range1Click();
    void Spectrum1Click();

    // --- the counts -----------------------------------------------------------------
    /// What "OK" of the count dialog does: writes `text` exactly as typed into the cell
    /// (column, row) (a target outside the table receives nothing), waits the count-entry
    /// pause and runs the whole chain. `progress` may cancel the engine: everything the
    /// run wrote, the cell included, is then put back.
    Outcome enterCell(int column, int row, const std::string& text,
                      const calc::EngineProgress& progress = {});
    /// The formula dialog's "OK": reads `text` against the element table (a refused text
    /// raises the reader's text::Error and writes nothing), then enterCounts with its
    /// counts and labels. A formula that went through goes to the front of the history; one
    /// with a sequence's charge ("peptide(ACK/2)") sets the charge and the ion [M+zH]z+.
    Outcome enterFormula(const std::string& text, const calc::EngineProgress& progress = {});
    /// Puts back the formula history of an earlier run (newest first), at most 50 entries;
    /// what this run entered stays in front.
    void restoreFormulaHistory(const std::vector<std::string>& formulas);
    /// What the formula dialog shows under `text`, as "OK" would read it; says that no
    /// element data is loaded when elem.txt was not found.
    ions::FormulaPreview previewFormula(std::string_view text) const;
    /// A whole formula at once: "0" into every count cell, then each count in order into
    /// its column's count cell (columns outside the table are skipped), then the whole
    /// chain. A cancel puts every count back.
    /// The formula's isotope labels replace the previous ones; each is resolved to its
    /// isotopes first, and one that cannot be (masses.txt or isotopes.txt missing, an
    /// unknown isotope) raises text::Error before anything is written.
    Outcome enterCounts(const std::vector<CountText>& counts,
                        const calc::EngineProgress& progress = {},
                        const std::vector<formula::LabelCount>& labels = {});
    /// enterCounts for a batch row, once leaveOutWindowWork has been called: plain whole
    /// counts of table elements give their composition, texts and pattern without being
    /// written into the table (the same bits as enterCounts gives); anything else (labels, a
    /// progress callback, counts with signs, decimals or exponents) goes through enterCounts.
    Outcome enterRowCounts(const std::vector<CountText>& counts,
                           const calc::EngineProgress& progress = {},
                           const std::vector<formula::LabelCount>& labels = {});
    /// enterCounts for what needs no pattern (accurate masses, ladders, reports without
    /// the pattern): the counts and the composition summary only; the pattern engine, the
    /// range and the drawing do not run, and the pattern state stays as it was.
    void enterCountsWithoutPattern(const std::vector<CountText>& counts,
                                   const std::vector<formula::LabelCount>& labels = {});

    // --- display settings -----------------------------------------------------------
    /// The charge box's text as typed (SpinEdit1), then SpinEdit1Change.
    void setChargeText(const std::string& text);
    /// The charge box's arrows: the value plus `steps`, clamped; SpinEdit1Change when the
    /// text changed.
    void stepCharge(int steps);
    /// The charge box loses the focus: a value outside the bounds goes back to the nearer
    /// bound; SpinEdit1Change when the text changed.
    void leaveCharge();
    /// The same three for the label threshold box (SpinEdit2), running SpinEdit2Change.
    void setThresholdText(const std::string& text);
    void stepThreshold(int steps);
    void leaveThreshold();
    /// The peak-label switch (CheckBox1), then SpinEdit1Change.
    void setShowPeakPositions(bool show);
    /// Text typed into an editable field; nothing runs (Apply reads the m/z bounds).
    void editText(EditableText field, const std::string& text);

    /// Charge or peak-label switch changed: range, then drawing.
    void SpinEdit1Change();
    /// Threshold changed: Edit7, then drawing.
    void SpinEdit2Change();
    /// Apply: reads Edit1/Edit2 as the manual range, recomputes and draws.
    void Button1Click();
    /// Reset: automatic range, recomputes and draws.
    void Button3Click();

    // --- the high-resolution view ---------------------------------------------------
    /// The ion box of the high-resolution window, as typed or picked from the presets.
    void setIonText(const std::string& text);
    /// The ion and charge boxes for a formula whose sequence asked for `sequenceCharge`, with
    /// an ion or a charge perhaps asked for beside it (a batch line's ion, --ion, --charge):
    /// the one charge rule of every front end (ions::typedIon), the fallbacks where neither
    /// the sequence nor the asker says. Returns what was set, with the notice of an asked
    /// value that replaces the sequence's "/z".
    ions::TypedIon askIon(std::optional<int> sequenceCharge, const std::optional<std::string>& ion,
                          const std::optional<std::string>& charge, const std::string& fallbackIon,
                          const std::string& fallbackCharge);
    /// The high-resolution window's resolving power and coverage boxes, as typed.
    void setResolvingPowerText(const std::string& text);
    void setCoverageText(const std::string& text);
    /// Sets the tolerance box's text (ppm; empty for one FWHM at the resolving power).
    void setToleranceText(const std::string& text);
    /// Sets the instrument preset the isotope scores assume, by name ("" for none).
    void setInstrument(const std::string& name);
    /// The accurate masses of the current formula as the ion of the ion box at the current
    /// charge. Raises text::Error as computeIon does.
    ions::IonResult currentIon() const;
    /// currentIon for a batch row: only the lightest and the most abundant cluster, and no
    /// molecule formula.
    ions::IonResult currentIonForRow() const;
    /// The charge-state table's range box ("A-B"; empty for the default range), as typed.
    void setLadderRangeText(const std::string& text);
    /// The charge states of the current formula as ions of the ion box over the range box.
    /// Raises text::Error for a range box it cannot read and as computeChargeLadder does.
    std::vector<ions::LadderRung> currentLadder() const;
    /// Makes `rung` the ion shown: the charge box takes its step where the ion box has a "z"
    /// (the box stays), else its charge, and the ion box its notation.
    void chooseLadderRung(const ions::LadderRung& rung);
    /// Reads a measured file for the chooser; changes nothing. Raises text::Error naming
    /// the file and what is wrong with it.
    measured::MeasuredFile readMeasuredFile(const std::string& path) const;
    /// The spectrum the chooser offers first: the MS1 spectrum with the largest summed
    /// intensity inside the current ion's cluster m/z range (the whole file's largest when
    /// there is no ion to compute).
    std::size_t defaultMeasuredSpectrum(const measured::MeasuredFile& file) const;
    /// Sets spectrum `index` of `file` beside the theory. Raises text::Error when its points
    /// cannot be read; the spectrum shown before then stays.
    void showMeasuredSpectrum(const measured::MeasuredFile& file, std::size_t index);
    /// Takes the measured spectrum away.
    void closeMeasuredSpectrum();

    // --- commands -------------------------------------------------------------------
    /// Every count and percentage to "0", Weight "0", then the whole chain.
    void Initialization1Click();
    /// Raises the error that saving gives before the first calculation: there is no
    /// pattern yet. The window asks it before it offers the save dialog.
    void requirePatternToSave() const;
    /// Draws the current spectrum as Spectrum1Click does, onto another canvas of any size
    /// (a picture file at twice the size, an SVG); changes nothing. Raises text::Error as the
    /// drawing does, and before the first drawing (there is nothing to draw).
    void drawSpectrumOn(plot::Canvas& canvas) const;
    /// The normal layout of the exported span as one text, as Save_Normal writes it (for
    /// the clipboard). Raises requirePatternToSave's error before the first calculation.
    std::string normalPatternText() const;
    /// The name the save dialogs propose for the current formula, without extension: the
    /// formula in Hill order ("C8H10N4O2"), "pattern" before there is one.
    std::string formulaFileStem() const;
    /// Writes the pattern at `path`; false when the user kept an existing file.
    bool savePattern(const std::string& path, exporting::Layout layout);

private:
    class Change;
    Outcome writeAndCalculate(const std::function<void(data::TextGrid&)>& write,
                              const calc::EngineProgress& progress);
    Outcome calculate(const calc::EngineProgress& progress);
    /// The composition summary of the count cells (Calculate1Click's first stage).
    void summariseComposition();
    /// What the formula reader, the batch rows and the accurate masses take from the tables,
    /// read again after a load or an edit of a symbol or a weight.
    void readTablesForReading();
    void runEngine(const calc::EngineProgress& progress);
    void rangeAndSpectrum();
    plot::SpectrumContent spectrumContent() const;
    std::vector<calc::LabelElement>
    resolveLabels(const std::vector<formula::LabelCount>& labels) const;
    void afterSpinChange(const text::SpinValue& box, const std::string& before,
                         void (Session::*handler)());

    std::string m_dataDirectory;
    std::vector<std::string> m_dataFolders;
    bool m_drawsOnCanvas = true;
    bool m_windowWork = true;
    // the element table's symbols and weights for enterRowCounts, read at its first row
    // after a load or a cell edit; nothing inside when a weight cell is not a number
    std::optional<std::optional<calc::ElementColumns>> m_rowColumns;
    int m_engineThreads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    char m_separator;
    text::Notifier& m_notifier;
    plot::Canvas& m_canvas;
    SessionTiming m_timing;

    SessionState m_state;
    ChangeListeners m_listeners;
    int m_commandDepth = 0;
    StateChanges m_pendingChanges; // what the commands under way touched
    // Cell texts read as numbers, kept from run to run.
    calc::CompositionReadings m_compositionReadings;
    calc::CellReadings m_isotopeReadings;
    calc::IsotopeColumnsMemo m_isotopeColumns;
    // the elements' powers of the ions asked for, kept for the next formula
    mutable accurate::PowerCache m_powers;
};

} // namespace orvane::session
