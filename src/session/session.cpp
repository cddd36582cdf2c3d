#include "session/session.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <thread>
#include <utility>

#include "calc/composition_summary.h"
#include "data/abundance_file.h"
#include "data/data_file_reader.h"
#include "data/data_folders.h"
#include "data/element_file.h"
#include "data/isotope_file.h"
#include "data/mass_file.h"
#include "export/pattern_layouts.h"
#include "accurate/element_isotopes.h"
#include "accurate/label_isotopes.h"
#include "export/protected_files.h"
#include "formula/element_symbols.h"
#include "formula/formula_reader.h"
#include "formula/hill_order.h"
#include "measured/cluster_match.h"
#include "plot/plot_range.h"
#include "plot/stick_plot.h"
#include "ion/reader_tables.h"
#include "ion/typed_ion.h"
#include "session/ion_inputs.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::session {

namespace {

// The formula dialog offers this many earlier formulas, also across runs.
constexpr std::size_t formulaHistoryLength = 50;

inline constexpr const char* noPatternToSave =
    "No isotope pattern has been calculated yet: enter a formula first.";

// What a cancelled calculation puts back: everything the composition summary and the
// engine write before they could be cancelled, and the cells written just before them.
struct ChainSnapshot {
    calc::Composition composition;
    data::TextGrid elements;
    data::TextGrid workGrid;
    calc::MsDataGrid msData;
    ViewTexts texts;
};

} // namespace

// Marks one command and what it touches: the listeners hear of it once, when the outermost
// command ends, however it ends, with what every command inside touched.
class Session::Change {
public:
    Change(Session& session, StateChanges touched) : m_session(session) {
        ++m_session.m_commandDepth;
        m_session.m_pendingChanges |= touched;
    }
    ~Change() {
        if (--m_session.m_commandDepth == 0) {
            const StateChanges changes = m_session.m_pendingChanges;
            m_session.m_pendingChanges = {};
            m_session.m_listeners.notify(changes);
        }
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

private:
    Session& m_session;
};

Session::Session(std::string dataDirectory, char separator, text::Notifier& notifier,
                 plot::Canvas& canvas, SessionTiming timing)
    : m_dataDirectory(std::move(dataDirectory)), m_separator(separator), m_notifier(notifier),
      m_canvas(canvas), m_timing(timing) {}

// --- the load ----------------------------------------------------------------------------

void Session::setEngineThreads(int threads) {
    m_engineThreads = std::clamp(threads, 1, 2);
}

void Session::drawOnlyOnRequest() {
    m_drawsOnCanvas = false;
}

void Session::leaveOutWindowWork() {
    m_windowWork = false;
}

void Session::searchDataFolders(std::vector<std::string> folders) {
    m_dataFolders = std::move(folders);
}

void Session::Initialize1Click() {
    const Change change(*this, StateChanges::all());
    m_state.elementFileFound = false;
    m_state.isotopeTableLoaded = false;
    if (!m_dataFolders.empty()) {
        m_dataDirectory =
            data::firstFolderWithElementFile(m_dataFolders).value_or(m_dataFolders.front());
        m_state.searchedFolders = m_dataFolders;
    } else {
        m_state.searchedFolders = {m_dataDirectory};
    }
    m_state.dataFolder = m_dataDirectory;
    if (data::loadElementFile(m_dataDirectory, m_state.tables, m_notifier)) {
        m_state.elementFileFound = true;
        // a fresh element table holds no formula
        m_state.composition.formulaWeight = 0;
        m_state.texts.weightText = "0";
    }
    m_state.isotopeTableLoaded =
        data::loadAbundanceFile(m_dataDirectory, m_state.tables, m_notifier);
    // Optional: what is wrong with it is told when the accurate masses are asked for.
    data::loadMassFile(m_dataDirectory, m_state.tables);
    data::loadIsotopeFile(m_dataDirectory, m_state.tables);
    readTablesForReading();
    // No save may replace a file this run reads its data from.
    for (const char* name : {data::elementFileName, data::abundanceFileName, data::massFileName,
                             data::isotopeFileName}) {
        exporting::protectedFiles().add(data::dataFilePath(m_dataDirectory, name));
    }
    if (!m_state.elementFileFound && m_state.searchedFolders.size() > 1) {
        m_notifier.notify(
            std::string(data::elementFileName) +
            " was not found in any of these folders: " + data::folderList(m_state.searchedFolders));
    }
}

std::string Session::missingElementDataMessage() const {
    if (m_state.elementFileFound) {
        return {};
    }
    return "no element data loaded (" + std::string(data::elementFileName) + " not found in " +
           data::folderList(m_state.searchedFolders.empty() ? std::vector{m_dataDirectory}
                                                            : m_state.searchedFolders) +
           ")";
}

ions::FormulaPreview Session::previewFormula(std::string_view text) const {
    const std::string missing = missingElementDataMessage();
    if (!missing.empty() && !text.empty()) {
        ions::FormulaPreview preview;
        preview.message = missing;
        return preview;
    }
    return ions::previewFormula(text, m_state.tables, m_state.reader, m_separator);
}

void Session::loadTablesOnce() {
    const Change change(*this, StateChanges::all());
    if (!m_state.tablesLoaded) {
        // A missing abundances.txt still counts as a normal return and is not looked for
        // again; without elem.txt nothing can be calculated, so the next click tries again.
        Initialize1Click();
        m_state.tablesLoaded = m_state.elementFileFound;
    }
}

// --- the calculation chain -----------------------------------------------------------------

void Session::Calculate1Click() {
    calculate({});
}

Outcome Session::calculate(const calc::EngineProgress& progress) {
    const Change change(*this, StateChanges::Formula | StateChanges::Display);
    // Only a run that can be cancelled needs the copy to go back to.
    std::optional<ChainSnapshot> before;
    if (progress) {
        before = ChainSnapshot{m_state.composition, m_state.tables.elements, m_state.workGrid,
                               m_state.msData, m_state.texts};
    }
    summariseComposition();
    try {
        runEngine(progress);
    } catch (const calc::EngineCancelled&) {
        m_state.composition = std::move(before->composition);
        m_state.tables.elements = std::move(before->elements);
        m_state.workGrid = std::move(before->workGrid);
        m_state.msData = std::move(before->msData);
        m_state.texts = std::move(before->texts);
        return Outcome::Cancelled;
    }
    return Outcome::Done;
}

void Session::summariseComposition() {
    ViewTexts& texts = m_state.texts;
    calc::calculateComposition(m_state.tables.elements, m_state.settings.charge.value(),
                               m_separator, m_compositionReadings, m_state.composition,
                               {texts.weightText, texts.averageMzText, texts.formulaText,
                                m_state.workGrid, m_state.msData, m_windowWork},
                               m_state.labels);
}

void Session::IsotopicSimulationforMassSpec1Click() {
    runEngine({});
}

void Session::runEngine(const calc::EngineProgress& progress) {
    const Change change(*this, StateChanges::Formula | StateChanges::Display);
    std::optional<calc::MsRange> msRange;
    // The MS-range fields show the last atom step's range also when the run fails later.
    const auto showMsRange = [&] {
        if (msRange) {
            m_state.texts.msRangeLowerText = std::to_string(msRange->lower);
            m_state.texts.msRangeUpperText = std::to_string(msRange->upper);
        }
    };
    try {
        calc::EngineInput input{m_state.composition.elements, m_state.tables.isotopes, m_separator};
        input.threads = m_engineThreads;
        input.fillsMsData = m_windowWork;
        input.centroidOnly = !m_windowWork;
        input.columnsMemo = &m_isotopeColumns;
        m_state.pattern = calc::simulateIsotopePattern(input, m_isotopeReadings, m_state.msData,
                                                       msRange, progress);
    } catch (...) {
        showMsRange();
        throw;
    }
    showMsRange();
    if (m_windowWork) {
        rangeAndSpectrum();
    }
}

void Session::Range1Click() {
    const Change change(*this, StateChanges::Display);
    const int charge = m_state.settings.charge.value();
    const double formulaWeight = m_state.composition.formulaWeight;
    // fw1 comes first: a charge of 0 stops here and changes nothing.
    m_state.texts.averageMzText = plot::averageMzText(formulaWeight, charge, m_separator);
    m_state.plotState = plot::computePlotRange(m_state.plotState, m_state.pattern, formulaWeight,
                                               charge, m_state.settings.manualRange);
    plot::RangeTexts range = plot::rangeTexts(m_state.plotState, m_separator);
    m_state.texts.lowerMzText = std::move(range.lowerMz);
    m_state.texts.upperMzText = std::move(range.upperMz);
    m_state.texts.lowerIntensityText = std::move(range.lowerIntensity);
    m_state.texts.upperIntensityText = std::move(range.upperIntensity);
}

void Session::Spectrum1Click() {
    const Change change(*this, StateChanges::Display);
    const int charge = m_state.settings.charge.value();
    m_state.plotState.imageWidth = m_canvas.width();
    m_state.plotState.imageHeight = m_canvas.height();
    m_state.hasPicture = true;
    if (m_drawsOnCanvas) {
        plot::drawSpectrum(m_canvas, m_state.plotState, spectrumContent());
    }
    // The drawing writes fw1 again; any error it can meet comes before that.
    m_state.texts.averageMzText =
        plot::averageMzText(m_state.composition.formulaWeight, charge, m_separator);
}

plot::SpectrumContent Session::spectrumContent() const {
    const DisplaySettings& settings = m_state.settings;
    return {m_state.pattern,
            m_state.composition.formulaWeight,
            m_state.texts.formulaText,
            settings.charge.value(),
            settings.threshold.value(),
            settings.showPeakPositions,
            m_separator};
}

void Session::rangeAndSpectrum() {
    Range1Click();
    Spectrum1Click();
}

// --- the counts ------------------------------------------------------------------------------

void Session::readTablesForReading() {
    m_state.reader = ions::readerTablesOf(m_state.tables, m_separator);
    m_rowColumns.reset();
    m_state.isotopes = accurate::ParsedIsotopes(m_state.tables, m_separator);
}

Outcome Session::enterCell(int column, int row, const std::string& text,
                           const calc::EngineProgress& progress) {
    // A symbol or a weight may change: what typed formulas and the accurate masses read
    // of the table is read again from the cells as they end up (kept after an error, put
    // back after a cancel).
    struct RereadAfterwards {
        Session* session;
        ~RereadAfterwards() {
            if (session != nullptr) {
                session->readTablesForReading();
            }
        }
    } reread{row != data::CountRow ? this : nullptr};
    return writeAndCalculate(
        [&](data::TextGrid& elements) {
            if (column >= 0 && row >= 0 && column < elements.columnCount() &&
                row < elements.rowCount()) {
                elements.setCell(column, row, text);
            }
            if (m_timing.countEntryPause.count() > 0) {
                std::this_thread::sleep_for(m_timing.countEntryPause);
            }
        },
        progress);
}

Outcome Session::enterFormula(const std::string& text, const calc::EngineProgress& progress) {
    const Change change(*this, StateChanges::Formula | StateChanges::Charge | StateChanges::Ion |
                                   StateChanges::History | StateChanges::Display);
    if (const std::string missing = missingElementDataMessage(); !missing.empty()) {
        throw text::Error(missing);
    }
    const formula::FormulaCounts read = formula::readFormula(text, m_state.reader, m_separator);
    std::vector<CountText> counts;
    for (const formula::ElementCount& count : read.counts) {
        counts.push_back({count.column, count.countText});
    }
    const Outcome outcome = enterCounts(counts, progress, read.labels);
    if (outcome == Outcome::Done) {
        // the boxes as they were before an earlier sequence's "/z", where they still hold it
        if (const std::optional<ReplacedIon> replaced =
                std::exchange(m_state.replacedBySequence, std::nullopt);
            replaced && m_state.ionText == replaced->appliedIonText &&
            m_state.settings.charge.text() == replaced->appliedChargeText) {
            m_state.ionText = replaced->ionText;
            setChargeText(replaced->chargeText);
        }
    }
    if (outcome == Outcome::Done && read.charge) {
        // a peptide's "/2": the protonated ion at that charge, for this formula
        ReplacedIon replaced{m_state.ionText, m_state.settings.charge.text(), {}, {}};
        replaced.appliedIonText = askIon(read.charge, std::nullopt, std::nullopt, m_state.ionText,
                                         m_state.settings.charge.text())
                                      .ionText;
        replaced.appliedChargeText = m_state.settings.charge.text();
        m_state.replacedBySequence = std::move(replaced);
    }
    if (outcome == Outcome::Done) {
        std::vector<std::string>& history = m_state.formulaHistory;
        std::erase(history, text);
        history.insert(history.begin(), text);
        if (history.size() > formulaHistoryLength) {
            history.resize(formulaHistoryLength);
        }
    }
    return outcome;
}

void Session::restoreFormulaHistory(const std::vector<std::string>& formulas) {
    const Change change(*this, StateChanges::History);
    std::vector<std::string>& history = m_state.formulaHistory;
    for (const std::string& formula : formulas) {
        if (history.size() >= formulaHistoryLength) {
            break;
        }
        if (!formula.empty() &&
            std::find(history.begin(), history.end(), formula) == history.end()) {
            history.push_back(formula);
        }
    }
}

namespace {

// "0" into every count cell, then each count into its column's cell (columns outside the
// table are skipped).
void writeCounts(data::TextGrid& elements, const std::vector<CountText>& counts) {
    for (int column = 1; column < elements.columnCount(); ++column) {
        elements.setCell(column, data::CountRow, "0");
    }
    for (const CountText& count : counts) {
        if (count.column >= 1 && count.column < elements.columnCount()) {
            elements.setCell(count.column, data::CountRow, count.text);
        }
    }
}

} // namespace

std::vector<calc::LabelElement>
Session::resolveLabels(const std::vector<formula::LabelCount>& labels) const {
    std::vector<calc::LabelElement> resolved;
    if (labels.empty()) {
        return resolved;
    }
    const std::vector<std::string> symbols = formula::symbolsOf(m_state.tables.elements);
    for (const formula::LabelCount& label : labels) {
        calc::LabelElement element;
        element.symbol = formula::labelSymbol(label, symbols);
        element.column = label.column;
        element.count = static_cast<double>(label.count);
        element.countText = label.countText;
        const accurate::ElementIsotopes isotopes = accurate::readLabelIsotopes(
            m_state.tables, label.column, label.massNumber, label.purity, m_separator);
        element.isotopes = isotopes.isotopes;
        resolved.push_back(std::move(element));
    }
    return resolved;
}

Outcome Session::enterCounts(const std::vector<CountText>& counts,
                             const calc::EngineProgress& progress,
                             const std::vector<formula::LabelCount>& labels) {
    const Change change(*this, StateChanges::Formula | StateChanges::Display);
    std::vector<calc::LabelElement> resolved = resolveLabels(labels);
    std::vector<calc::LabelElement> previous = std::move(m_state.labels);
    m_state.labels = std::move(resolved);
    const Outcome outcome = writeAndCalculate(
        [&](data::TextGrid& elements) { writeCounts(elements, counts); }, progress);
    if (outcome == Outcome::Cancelled) {
        m_state.labels = std::move(previous);
    }
    return outcome;
}

Outcome Session::enterRowCounts(const std::vector<CountText>& counts,
                                const calc::EngineProgress& progress,
                                const std::vector<formula::LabelCount>& labels) {
    if (m_windowWork || progress || !labels.empty()) {
        return enterCounts(counts, progress, labels);
    }
    if (!m_rowColumns) {
        m_rowColumns = calc::readElementColumns(m_state.tables.elements, m_separator);
    }
    std::vector<std::pair<int, std::string>> written;
    written.reserve(counts.size());
    for (const CountText& count : counts) {
        written.emplace_back(count.column, count.text);
    }
    calc::Composition composition;
    std::string weightText;
    std::string averageMzText;
    std::string formulaText;
    if (!*m_rowColumns || !calc::composeWholeCounts(
                              written, **m_rowColumns, m_state.settings.charge.value(), m_separator,
                              composition, weightText, averageMzText, formulaText)) {
        return enterCounts(counts, progress, labels);
    }
    const Change change(*this, StateChanges::Formula | StateChanges::Display);
    m_state.labels.clear();
    m_state.composition = std::move(composition);
    m_state.texts.weightText = std::move(weightText);
    m_state.texts.averageMzText = std::move(averageMzText);
    m_state.texts.formulaText = std::move(formulaText);
    runEngine({});
    return Outcome::Done;
}

void Session::enterCountsWithoutPattern(const std::vector<CountText>& counts,
                                        const std::vector<formula::LabelCount>& labels) {
    const Change change(*this, StateChanges::Formula);
    m_state.labels = resolveLabels(labels);
    writeCounts(m_state.tables.elements, counts);
    summariseComposition();
}

Outcome Session::writeAndCalculate(const std::function<void(data::TextGrid&)>& write,
                                   const calc::EngineProgress& progress) {
    const Change change(*this, StateChanges::Formula | StateChanges::Display);
    data::TextGrid& elements = m_state.tables.elements;
    // A cancel puts back the cells as they were before this command wrote them.
    const std::optional<data::TextGrid> previous =
        progress ? std::optional<data::TextGrid>(elements) : std::nullopt;
    write(elements);
    const Outcome outcome = calculate(progress);
    if (outcome == Outcome::Cancelled) {
        elements = *previous;
    }
    return outcome;
}

// --- display settings --------------------------------------------------------------------------

// A box whose text changed runs its handler, as a box's change event does; a step or a
// focus change that leaves the text as it was runs nothing.
void Session::afterSpinChange(const text::SpinValue& box, const std::string& before,
                              void (Session::*handler)()) {
    if (box.text() != before) {
        (this->*handler)();
    }
}

void Session::setChargeText(const std::string& text) {
    const Change change(*this, StateChanges::Charge | StateChanges::Display);
    const std::string before = m_state.settings.charge.text();
    m_state.settings.charge.setText(text);
    afterSpinChange(m_state.settings.charge, before, &Session::SpinEdit1Change);
}

void Session::stepCharge(int steps) {
    const Change change(*this, StateChanges::Charge | StateChanges::Display);
    text::SpinValue& charge = m_state.settings.charge;
    const std::string before = charge.text();
    charge.setValue(static_cast<long long>(charge.value()) + steps);
    afterSpinChange(charge, before, &Session::SpinEdit1Change);
}

void Session::leaveCharge() {
    const Change change(*this, StateChanges::Charge | StateChanges::Display);
    const std::string before = m_state.settings.charge.text();
    m_state.settings.charge.loseFocus();
    afterSpinChange(m_state.settings.charge, before, &Session::SpinEdit1Change);
}

void Session::setThresholdText(const std::string& text) {
    const Change change(*this, StateChanges::Threshold | StateChanges::Display);
    const std::string before = m_state.settings.threshold.text();
    m_state.settings.threshold.setText(text);
    afterSpinChange(m_state.settings.threshold, before, &Session::SpinEdit2Change);
}

void Session::stepThreshold(int steps) {
    const Change change(*this, StateChanges::Threshold | StateChanges::Display);
    text::SpinValue& threshold = m_state.settings.threshold;
    const std::string before = threshold.text();
    threshold.setValue(static_cast<long long>(threshold.value()) + steps);
    afterSpinChange(threshold, before, &Session::SpinEdit2Change);
}

void Session::leaveThreshold() {
    const Change change(*this, StateChanges::Threshold | StateChanges::Display);
    const std::string before = m_state.settings.threshold.text();
    m_state.settings.threshold.loseFocus();
    afterSpinChange(m_state.settings.threshold, before, &Session::SpinEdit2Change);
}

void Session::setShowPeakPositions(bool show) {
    const Change change(*this, StateChanges::Display);
    m_state.settings.showPeakPositions = show;
    SpinEdit1Change();
}

void Session::editText(EditableText field, const std::string& text) {
    const Change change(*this, StateChanges::Display);
    ViewTexts& texts = m_state.texts;
    switch (field) {
    case EditableText::Weight:
        texts.weightText = text;
        break;
    case EditableText::LowerMz:
        texts.lowerMzText = text;
        break;
    case EditableText::UpperMz:
        texts.upperMzText = text;
        break;
    case EditableText::LowerIntensity:
        texts.lowerIntensityText = text;
        break;
    case EditableText::UpperIntensity:
        texts.upperIntensityText = text;
        break;
    case EditableText::MsRangeLower:
        texts.msRangeLowerText = text;
        break;
    case EditableText::MsRangeUpper:
        texts.msRangeUpperText = text;
        break;
    case EditableText::ThresholdPercent:
        texts.thresholdPercentText = text;
        break;
    }
}

// Before the first calculation there is no pattern: the display handlers then change
// only what needs none (the threshold text) and draw nothing.

void Session::SpinEdit1Change() {
    const Change change(*this, StateChanges::Charge | StateChanges::Display);
    if (m_state.pattern.exists()) {
        rangeAndSpectrum();
    }
}

void Session::SpinEdit2Change() {
    const Change change(*this, StateChanges::Threshold | StateChanges::Display);
    const text::Extended percent =
        static_cast<text::Extended>(m_state.settings.threshold.value()) / 10;
    m_state.texts.thresholdPercentText = text::generalText(percent, m_separator);
    if (m_state.pattern.exists()) {
        Spectrum1Click();
    }
}

void Session::Button1Click() {
    const Change change(*this, StateChanges::Display);
    if (!m_state.pattern.exists()) {
        return;
    }
    // The left bound is stored before the right one is read: a bad right bound leaves it.
    m_state.plotState.xmin = text::parseReal(m_state.texts.lowerMzText, m_separator);
    m_state.plotState.xmax = text::parseReal(m_state.texts.upperMzText, m_separator);
    bool& manualRange = m_state.settings.manualRange;
    manualRange = true;
    try {
        rangeAndSpectrum();
    } catch (...) {
        manualRange = false;
        throw;
    }
    manualRange = false;
}

void Session::Button3Click() {
    const Change change(*this, StateChanges::Display);
    m_state.settings.manualRange = false;
    if (m_state.pattern.exists()) {
        rangeAndSpectrum();
    }
}

// --- the high-resolution view -----------------------------------------------------------------

ions::TypedIon Session::askIon(std::optional<int> sequenceCharge,
                               const std::optional<std::string>& ion,
                               const std::optional<std::string>& charge,
                               const std::string& fallbackIon, const std::string& fallbackCharge) {
    const Change change(*this, StateChanges::Ion | StateChanges::Charge | StateChanges::Display);
    ions::TypedIon typed = ions::typedIon(sequenceCharge, ion, charge, fallbackIon, fallbackCharge);
    m_state.ionText = typed.ionText;
    setChargeText(typed.chargeText);
    return typed;
}

void Session::setIonText(const std::string& text) {
    const Change change(*this, StateChanges::Ion);
    m_state.ionText = text;
}

void Session::setResolvingPowerText(const std::string& text) {
    const Change change(*this, StateChanges::ProfileBoxes);
    m_state.profileBoxes.resolvingPowerText = text;
}

void Session::setCoverageText(const std::string& text) {
    const Change change(*this, StateChanges::ProfileBoxes);
    m_state.profileBoxes.coverageText = text;
}

void Session::setToleranceText(const std::string& text) {
    const Change change(*this, StateChanges::ProfileBoxes);
    m_state.profileBoxes.toleranceText = text;
}

void Session::setInstrument(const std::string& name) {
    const Change change(*this, StateChanges::Instrument);
    m_state.instrument = name;
}

ions::IonResult Session::currentIon() const {
    return ions::computeIon(moleculeOf(m_state), m_state.ionText, m_state.settings.charge.value(),
                            m_separator, &m_powers);
}

ions::IonResult Session::currentIonForRow() const {
    return ions::computeIon(moleculeOf(m_state), m_state.ionText, m_state.settings.charge.value(),
                            m_separator, &m_powers, false);
}

void Session::setLadderRangeText(const std::string& text) {
    const Change change(*this, StateChanges::LadderRange);
    m_state.ladderRangeText = text;
}

std::vector<ions::LadderRung> Session::currentLadder() const {
    return ions::computeChargeLadder(moleculeOf(m_state), measuredPointsOf(m_state),
                                     m_state.ionText,
                                     ions::readChargeRange(m_state.ladderRangeText), m_separator);
}

void Session::chooseLadderRung(const ions::LadderRung& rung) {
    const Change change(*this, StateChanges::Charge | StateChanges::Ion | StateChanges::Display);
    m_state.ionText = rung.ionBox;
    setChargeText(std::to_string(
        rung.ionBox.find('z') != std::string::npos ? rung.step : std::abs(rung.charge)));
}

measured::MeasuredFile Session::readMeasuredFile(const std::string& path) const {
    return measured::openMeasuredFile(path);
}

std::size_t Session::defaultMeasuredSpectrum(const measured::MeasuredFile& file) const {
    double low = 0;
    double high = std::numeric_limits<double>::max();
    try {
        const ions::IonResult current = currentIon();
        std::vector<measured::TheoreticalCluster> clusters;
        for (const ions::IonCluster& cluster : current.clusters) {
            clusters.push_back({cluster.mz, cluster.intensity});
        }
        if (const auto range = measured::clusterRange(clusters, current.charge)) {
            low = range->low;
            high = range->high;
        }
    } catch (const text::Error&) {
        // no formula or no accurate masses: the whole file counts
    }
    return measured::defaultSpectrum(file, low, high);
}

void Session::showMeasuredSpectrum(const measured::MeasuredFile& file, std::size_t index) {
    const Change change(*this, StateChanges::Measured);
    measured::Spectrum points = measured::loadSpectrum(file, index);
    m_state.measured = MeasuredSpectrum{file, index, std::move(points)};
}

void Session::closeMeasuredSpectrum() {
    const Change change(*this, StateChanges::Measured);
    m_state.measured.reset();
}

// --- commands --------------------------------------------------------------------------------

void Session::Initialization1Click() {
    const Change change(*this, StateChanges::all());
    data::TextGrid& elements = m_state.tables.elements;
    for (int column = 1; column < elements.columnCount(); ++column) {
        elements.setCell(column, data::CountRow, "0");
        elements.setCell(column, data::PercentRow, "0");
    }
    m_state.texts.weightText = "0";
    m_state.composition.formulaWeight = 0;
    m_state.labels.clear();
    Calculate1Click();
    rangeAndSpectrum();
}

void Session::drawSpectrumOn(plot::Canvas& canvas) const {
    if (!m_state.hasPicture) {
        throw text::Error(noPatternToSave);
    }
    plot::PlotState sized = m_state.plotState;
    sized.imageWidth = canvas.width();
    sized.imageHeight = canvas.height();
    plot::drawSpectrum(canvas, sized, spectrumContent());
}

void Session::requirePatternToSave() const {
    if (!m_state.pattern.exists()) {
        throw text::Error(noPatternToSave);
    }
}

std::string Session::normalPatternText() const {
    requirePatternToSave();
    return exporting::normalLayout(m_state.pattern, m_state.composition.formulaWeight,
                                   m_state.plotState.spanFirst, m_state.plotState.spanLast);
}

std::string Session::formulaFileStem() const {
    std::vector<formula::SymbolCount> elements;
    for (const calc::WorkingElement& element : m_state.composition.elements) {
        elements.push_back({element.symbol, text::generalText(element.count, '.')});
    }
    const std::string stem = formula::hillFormula(std::move(elements));
    return stem.empty() ? std::string("pattern") : stem;
}

bool Session::savePattern(const std::string& path, exporting::Layout layout) {
    const Change change(*this, StateChanges{});
    requirePatternToSave();
    const calc::PatternState& pattern = m_state.pattern;
    const plot::PlotState& plot = m_state.plotState;
    return exporting::savePattern(path, layout, pattern, m_state.composition.formulaWeight,
                                  plot.spanFirst, plot.spanLast, m_notifier);
}

} // namespace orvane::session
