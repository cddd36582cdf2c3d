#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "accurate/parsed_isotopes.h"
#include "calc/composition.h"
#include "calc/ms_data_grid.h"
#include "calc/pattern_state.h"
#include "data/data_tables.h"
#include "data/text_grid.h"
#include "formula/formula_reader.h"
#include "ion/profile_boxes.h"
#include "measured/measured_file.h"
#include "measured/spectrum.h"
#include "plot/plot_state.h"
#include "session/display_settings.h"
#include "session/view_texts.h"

namespace orvane::session {

// A measured spectrum opened beside the theory: the file, the spectrum chosen in it and
// its points.
struct MeasuredSpectrum {
    measured::MeasuredFile file;
    std::size_t index = 0;
    measured::Spectrum points;
};

// The ion and charge a sequence's "/z" replaced, kept to be put back: the charge a sequence
// brings lasts for its own formula only.
struct ReplacedIon {
    std::string ionText; // what the boxes held before
    std::string chargeText;
    std::string appliedIonText; // what the sequence set; a box changed since keeps its value
    std::string appliedChargeText;
};

// Everything one run holds, as the front ends read it. Only the session's commands write it.
struct SessionState {
    data::DataTables tables;         // the element table (storage of record) and the isotope table
    bool tablesLoaded = false;       // set when the first load returned normally
    bool elementFileFound = false;   // the last load found elem.txt
    bool isotopeTableLoaded = false; // the last load filled the isotope table from abundances.txt
    std::string dataFolder;          // the folder the last load read from
    // the folders the last load looked in for elem.txt, the first one being the working
    // directory (one folder when the data folder was given)
    std::vector<std::string> searchedFolders;
    // What the formula reader takes of the tables (symbols, mass numbers, weights) and the
    // isotopes of every element as the accurate masses read them, gathered at each load.
    formula::ReaderTables reader;
    accurate::ParsedIsotopes isotopes;
    calc::Composition composition; // formula weight and working-element list
    // The isotope labels of the formula entered last ("[13C]6"); they live beside the count
    // cells, which keep the unlabelled atoms. Initialization and a formula without labels
    // clear them.
    std::vector<calc::LabelElement> labels;
    data::TextGrid workGrid{6, 2}; // StringGrid2, the working-element grid
    calc::MsDataGrid msData;       // StringGrid3, the pattern before normalisation
    calc::PatternState pattern;    // empty before the first calculation
    plot::PlotState plotState;
    DisplaySettings settings;
    ViewTexts texts;
    bool hasPicture = false;                 // a drawing has run, so there is a picture to copy
    std::vector<std::string> formulaHistory; // formulas entered as text this run, newest first
    // The high-resolution window: the ion box ("z" stands for the charge) and the measured
    // spectrum set beside the theory.
    std::string ionText = "[M+zH]z+";
    ions::ProfileBoxes profileBoxes; // resolving power, coverage, tolerance
    std::string instrument;          // the instrument preset the scores assume; "" none
    std::string ladderRangeText;     // the charge states' "A-B"; "" the default range
    std::optional<MeasuredSpectrum> measured;
    std::optional<ReplacedIon> replacedBySequence; // while a sequence's "/z" stands
};

} // namespace orvane::session
