#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "data/text_grid.h"
#include "formula/formula_counts.h"

namespace orvane::formula {

/// Refuses, as readFormula refuses a text, a count whose nominal mass (the element's
/// weight in the element table times the count) lies beyond the whole numbers the pattern
/// engine counts masses in (2^31 - 1), naming the element and the count; the engine
/// itself would only report an invalid operation. Weights that are not numbers are left
/// to the engine. `weights` (from countRangeWeights, as the reader's tables keep them)
/// spares reading them again; a column they lack is read from the table.
void requireCountsInRange(std::string_view formula, const FormulaCounts& counts,
                          const data::TextGrid& elements, char separator,
                          const std::vector<std::optional<double>>& weights = {});

/// Each column's weight as requireCountsInRange reads it (none where it is not a number).
std::vector<std::optional<double>> countRangeWeights(const data::TextGrid& elements,
                                                     char separator);

} // namespace orvane::formula
