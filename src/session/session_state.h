#pragma once

#include <string>
#include <vector>

#include "calc/composition.h"
#include "calc/ms_data_grid.h"
#include "calc/pattern_state.h"
#include "data/data_tables.h"
#include "data/text_grid.h"
#include "plot/plot_state.h"
#include "session/display_settings.h"
#include "session/view_texts.h"

namespace orvane::session {

// Everything one run holds, as the front ends read it. Only the session's commands write it.
struct SessionState {
    data::DataTables tables;         // the element table (storage of record) and the isotope table
    bool tablesLoaded = false;       // set when the first load returned normally
    bool elementFileFound = false;   // the last load found elem.txt
    bool isotopeTableLoaded = false; // the last load filled the isotope table from abundances.txt
    calc::Composition composition;   // formula weight and working-element list
    data::TextGrid workGrid{6, 2};   // StringGrid2, the working-element grid
    calc::MsDataGrid msData;         // StringGrid3, the pattern before normalisation
    calc::PatternState pattern;      // empty before the first calculation
    plot::PlotState plotState;
    DisplaySettings settings;
    ViewTexts texts;
    bool hasPicture = false;                 // a drawing has run, so there is a picture to copy
    std::vector<std::string> formulaHistory; // formulas entered as text this run, newest first
};

} // namespace orvane::session
