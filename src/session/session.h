#pragma once

#include <memory>
#include <string>

#include "calc/composition.h"
#include "calc/isotope_engine.h"
#include "calc/ms_data_grid.h"
#include "calc/pattern_state.h"
#include "data/data_tables.h"
#include "export/pattern_export.h"
#include "plot/canvas.h"
#include "plot/display_controls.h"
#include "plot/plot_state.h"
#include "text/notifier.h"

namespace orvane {

// Everything the application holds for one run, with the operations that the window's
// events start. The handlers keep their window names so they can be found; each one
// runs its part of the calculation chain in order and stops at the first text::Error,
// leaving what it had stored.
class Session {
public:
    /// `dataDirectory` is fixed for the run; `separator` is the locale's decimal separator.
    Session(std::string dataDirectory, char separator, text::Notifier& notifier,
            plot::Canvas& canvas);

    // --- the load -------------------------------------------------------------------
    /// Loads elem.txt, then always abundances.txt.
    void Initialize1Click();

    // --- the calculation chain ------------------------------------------------------
    /// The whole chain: composition summary, pattern engine, plot range, drawing.
    void Calculate1Click();
    /// Runs with a progress callback that may cancel the engine. A cancelled run puts
    /// back the composition, the grids and the texts of the formula before it.
    /// Returns false when cancelled.
    bool calculateWithProgress(const calc::EngineProgress& progress);
    /// The engine, then Range1Click and Spectrum1Click.
    void IsotopicSimulationforMassSpec1Click();
    void Range1Click();
    void Spectrum1Click();

    // --- display handlers -------------------------------------------------------------
    /// Charge or peak-label switch changed: range, then drawing.
    void SpinEdit1Change();
    /// Threshold changed: Edit7, then drawing.
    void SpinEdit2Change();
    /// Apply: reads Edit1/Edit2 as the manual range, recomputes and draws.
    void Button1Click();
    /// Reset: automatic range, recomputes and draws.
    void Button3Click();

    // --- commands ---------------------------------------------------------------------
    /// Every count and percentage to "0", Weight "0", then the whole chain.
    void Initialization1Click();
    /// Writes the pattern at `path`; false when the user kept an existing file.
    bool savePattern(const std::string& path, exporting::Layout layout);
    /// Raises the error that saving gives before the first calculation: there is no
    /// pattern yet. The window asks it before it offers the save dialog.
    void requirePatternToSave() const;

    // --- state the window binds to ----------------------------------------------------
    data::DataTables tables;
    calc::Composition composition;
    calc::MsDataGrid msData;
    calc::MsRangeTexts msRange;
    calc::PatternState pattern;
    plot::PlotState plotState;
    plot::DisplayControls controls;

    const std::string& dataDirectory() const { return m_dataDirectory; }
    char separator() const { return m_separator; }
    /// True once a drawing has run, so there is a picture to copy.
    bool hasPicture() const { return m_hasPicture; }

private:
    void rangeAndSpectrum();

    std::string m_dataDirectory;
    char m_separator;
    text::Notifier& m_notifier;
    plot::Canvas& m_canvas;
    bool m_hasPicture = false;
};

} // namespace orvane
