#pragma once

#include <string>
#include <vector>

#include "calc/cell_readings.h"
#include "calc/ms_data_grid.h"
#include "data/text_grid.h"

namespace orvane::calc {

// One element of the formula: an element-table column whose count is above 0.
struct WorkingElement {
    std::string symbol; // trimmed symbol text
    double weight = 0;
    double count = 0;
    int column = 0; // element-table column, 1 or more
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
};

} // namespace orvane::calc
