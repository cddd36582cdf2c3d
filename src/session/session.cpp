#include "session/session.h"

#include <optional>
#include <utility>

#include "calc/composition_summary.h"
#include "data/abundance_file.h"
#include "data/element_file.h"
#include "plot/plot_range.h"
#include "plot/stick_plot.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane {

namespace {

inline constexpr const char* noPatternToSave =
    "No isotope pattern has been calculated yet: enter a formula first.";

// What a cancelled calculation puts back: everything the composition summary and the
// engine write before they could be cancelled.
struct ChainSnapshot {
    calc::Composition composition;
    data::TextGrid elements;
    calc::MsDataGrid msData;
    calc::MsRangeTexts msRange;
};

} // namespace

Session::Session(std::string dataDirectory, char separator, text::Notifier& notifier,
                 plot::Canvas& canvas)
    : m_dataDirectory(std::move(dataDirectory)), m_separator(separator), m_notifier(notifier),
      m_canvas(canvas) {}

void Session::Initialize1Click() {
    if (data::loadElementFile(m_dataDirectory, tables, m_notifier)) {
        // a fresh element table holds no formula
        composition.formulaWeight = 0;
        composition.weightText = "0";
    }
    data::loadAbundanceFile(m_dataDirectory, tables, m_notifier);
}

void Session::Calculate1Click() {
    calculateWithProgress({});
}

bool Session::calculateWithProgress(const calc::EngineProgress& progress) {
    // Only a run that can be cancelled needs the copy to go back to.
    std::optional<ChainSnapshot> before;
    if (progress) {
        before = ChainSnapshot{composition, tables.elements, msData, msRange};
    }
    calc::calculateComposition(tables.elements, controls.charge.value(), m_separator, composition,
                               msData);
    try {
        calc::simulateIsotopePattern(composition, tables.isotopes, m_separator, pattern, msData,
                                     msRange, progress);
    } catch (const calc::EngineCancelled&) {
        composition = std::move(before->composition);
        tables.elements = std::move(before->elements);
        msData = std::move(before->msData);
        msRange = std::move(before->msRange);
        return false;
    }
    rangeAndSpectrum();
    return true;
}

void Session::IsotopicSimulationforMassSpec1Click() {
    calc::simulateIsotopePattern(composition, tables.isotopes, m_separator, pattern, msData,
                                 msRange);
    rangeAndSpectrum();
}

void Session::Range1Click() {
    plot::computePlotRange(plotState, controls, pattern, composition.formulaWeight,
                           composition.fw1Text, m_separator);
}

void Session::Spectrum1Click() {
    m_hasPicture = true;
    plot::drawSpectrum(m_canvas, plotState, controls, pattern, composition.formulaWeight,
                       composition.formulaText, composition.fw1Text, m_separator);
}

void Session::rangeAndSpectrum() {
    Range1Click();
    Spectrum1Click();
}

// Before the first calculation there is no pattern: the display handlers then change
// only what needs none (the threshold text) and draw nothing.

void Session::SpinEdit1Change() {
    if (pattern.exists()) {
        rangeAndSpectrum();
    }
}

void Session::SpinEdit2Change() {
    const text::Extended percent = static_cast<text::Extended>(controls.threshold.value()) / 10;
    controls.edit7 = text::generalText(percent, m_separator);
    if (pattern.exists()) {
        Spectrum1Click();
    }
}

void Session::Button1Click() {
    if (!pattern.exists()) {
        return;
    }
    // The left bound is stored before the right one is read: a bad right bound leaves it.
    plotState.xmin = text::parseReal(controls.edit1, m_separator);
    plotState.xmax = text::parseReal(controls.edit2, m_separator);
    controls.manualRange = true;
    try {
        rangeAndSpectrum();
    } catch (...) {
        controls.manualRange = false;
        throw;
    }
    controls.manualRange = false;
}

void Session::Button3Click() {
    controls.manualRange = false;
    if (pattern.exists()) {
        rangeAndSpectrum();
    }
}

void Session::Initialization1Click() {
    for (int column = 1; column < tables.elements.columnCount(); ++column) {
        tables.elements.setCell(column, data::CountRow, "0");
        tables.elements.setCell(column, data::PercentRow, "0");
    }
    composition.weightText = "0";
    composition.formulaWeight = 0;
    Calculate1Click();
    rangeAndSpectrum();
}

void Session::requirePatternToSave() const {
    if (!pattern.exists()) {
        throw text::Error(noPatternToSave);
    }
}

bool Session::savePattern(const std::string& path, exporting::Layout layout) {
    requirePatternToSave();
    return exporting::savePattern(path, layout, pattern, composition.formulaWeight,
                                  pattern.n0 - static_cast<long long>(plotState.s),
                                  pattern.n0 + static_cast<long long>(plotState.s), m_notifier);
}

} // namespace orvane
