#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/composition.h"
#include "data/text_grid.h"

namespace orvane::calc {

// What the composition summary reads of the element table besides the counts: each
// column's trimmed symbol and weight, read once for many formulas.
struct ElementColumns {
    std::vector<std::string> symbols; // by column, index 0 unused
    std::vector<double> weights;      // by column, index 0 unused
};

/// The columns of the table, or nothing when a weight cell cannot be read as a number (the
/// summary itself then says which).
std::optional<ElementColumns> readElementColumns(const data::TextGrid& elements, char separator);

/// The composition summary of a formula of whole counts written into an otherwise empty
/// count row, without the table: the same formula weight, working elements, Weight, fw1 and
/// Formula texts as calculateComposition, to the last bit. `counts` are (column, count text)
/// as they would be written into the cells. False, with nothing written, where that cannot
/// be done this way: a count that is not plain digits (at most nine), a column named twice
/// or outside the table, no atoms or a weight of 0, a charge that fails the division.
bool composeWholeCounts(const std::vector<std::pair<int, std::string>>& counts,
                        const ElementColumns& columns, int charge, char separator,
                        Composition& composition, std::string& weightText,
                        std::string& averageMzText, std::string& formulaText);

} // namespace orvane::calc
