#pragma once

#include "calc/composition.h"
#include "data/text_grid.h"

namespace orvane::calc {

/// Calculate1Click without the rest of the chain: reads counts, weights and symbols from
/// the element table, writes the formula weight and working-element list into
/// `composition`, the mass percentages into row 4 of the table, and the Weight, fw1 and
/// Formula texts, the working-element grid and the blanking of the MS data grid into
/// `display`. Raises text::Error at the first bad cell or bad division, leaving what it
/// had written. Labels with a count above 0 add their average mass to the formula weight
/// and follow their element's column in the list, the grid and the Formula text ("[13C]6").
void calculateComposition(data::TextGrid& elements, int charge, char separator,
                          CompositionReadings& readings, Composition& composition,
                          const CompositionDisplay& display,
                          const std::vector<LabelElement>& labels = {});

} // namespace orvane::calc
