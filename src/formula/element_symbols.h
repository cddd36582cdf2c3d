#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/text_grid.h"

namespace orvane::formula {

/// The symbols of the element table by column, as the formula readers take them: index 0
/// is "", index c the symbol cell of column c without its surrounding blanks.
std::vector<std::string> symbolsOf(const data::TextGrid& elements);

/// The atomic weights of the element table by column (index 0 unused), nothing for a cell
/// that is no number; for averagine(MASS).
std::vector<std::optional<long double>> weightsOf(const data::TextGrid& elements, char separator);

} // namespace orvane::formula
