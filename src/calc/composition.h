#pragma once

#include <string>
#include <vector>

#include "calc/cell_readings.h"
#include "data/text_grid.h"

namespace orvane::calc {

// One element of the formula: an element-table column whose count is above 0.
struct WorkingElement {
    std::string symbol; // trimmed symbol text
    double weight = 0;
    double count = 0;
    int column = 0; // element-table column, 1 or more
};

// What the composition summary leaves for the later stages and the window: replaced
// as a whole by every run (fields are written step by step, so a failed run leaves
// what it had written).
struct Composition {
    double formulaWeight = 0;
    std::vector<WorkingElement> elements; // numbered from 1 in the window, 0-based here
    std::string weightText;               // "Weight" field
    std::string fw1Text;                  // "M/Z" field; also rewritten by the plot stage
    std::string formulaText;              // "Formula" field
    // The working-element grid: 6 columns; row 0 header, row p the p-th element.
    data::TextGrid workGrid{6, 2};
    // Readings of the cells kept for the next run: counts and weights by column (the
    // summary), isotope cells by row * 21 + column (the engine, which takes the
    // composition as it stands).
    CellReadings countReadings;
    CellReadings weightReadings;
    mutable CellReadings isotopeReadings;
};

} // namespace orvane::calc
