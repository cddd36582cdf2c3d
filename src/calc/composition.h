#pragma once

#include <string>
#include <vector>

#include "calc/cell_readings.h"
#include "calc/ms_data_grid.h"
#include "data/isotope.h"
#include "data/text_grid.h"

namespace orvane::calc {

// Atoms of one isotope of an element, written as a label ("[13C]6"): the formula keeps
// them apart from the element's count cell, as an element of their own.
struct LabelElement {
    std::string symbol; // as written without its count: "[13C]", "[13C]{99%}"
    int column = 0;     // the element's column
    double count = 0;
    std::string countText;
    std::vector<data::Isotope> isotopes; // the label's isotope first

    /// The mass of one labelled position on average (the isotope's mass when pure).
    double averageMass() const;
};

// One element of the formula: an element-table column whose count is above 0, or a label.
struct WorkingElement {
    std::string symbol; // trimmed symbol text
    double weight = 0;  // of a label: its isotope's mass, where its pattern starts
    double count = 0;
    int column = 0; // element-table column, 1 or more
    // A label's isotopes, the label's first; empty for an element of the table, whose
    // isotopes the isotope table gives.
    std::vector<data::Isotope> labelIsotopes;
};

// What the composition summary leaves for the later stages: the formula weight and the
// working-element list. A run writes them step by step, so a failed run leaves what it
// had written (the partial formula weight, the previous list).
struct Composition {
    double formulaWeight = 0;
    std::vector<WorkingElement> elements; // numbered from 1 in the window, 0-based here
};

// The count and weight cells read as numbers, kept from run to run: almost no cell changes
// between two runs, and reading depends on the text alone.
struct CompositionReadings {
    CellReadings counts;  // by element-table column
    CellReadings weights; // by element-table column
};

// Where the summary writes what the window shows, each at its step.
struct CompositionDisplay {
    std::string& weightText;    // first 8 characters of the formula weight
    std::string& averageMzText; // first 8 characters of FW / charge
    std::string& formulaText;   // symbols and counts in column order
    // The working-element grid: 6 columns; row 0 header, row p the p-th element.
    data::TextGrid& workGrid;
    MsDataGrid& msData; // blanked for a formula weight of 0
    // The mass percentages of row 4; a batch row, which shows none, leaves them out (every
    // weight cell is still read, so a bad one fails as before).
    bool percentages = true;
};

} // namespace orvane::calc
