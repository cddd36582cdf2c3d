#pragma once

#include "calc/composition.h"
#include "calc/ms_data_grid.h"
#include "data/text_grid.h"

namespace orvane::calc {

/// Calculate1Click without the rest of the chain: reads counts, weights and symbols
/// from the element table, writes the formula weight, Weight, fw1 and Formula texts,
/// the mass percentages (row 4), the working-element list and grid, and blanks the MS
/// data grid for a formula weight of 0. Raises text::Error at the first bad cell or
/// bad division, leaving what it had written.
void calculateComposition(data::TextGrid& elements, int charge, char separator,
                          Composition& composition, MsDataGrid& msData);

} // namespace orvane::calc
