#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/extended.h"

namespace orvane::formula {

// The atoms of one element-table column that a formula names.
struct ElementCount {
    int column = 0;           // element-table column, 1 or more
    text::Extended count = 0; // summed and multiplied in extended precision
    std::string countText; // its general text with the locale's separator, as a count cell holds it
};

// What a formula reads to: each column it names once, in table column order. A column
// written with a count of 0 ("C0H4") is kept with 0, so that a preview can say so.
struct FormulaCounts {
    std::vector<ElementCount> counts;
    std::optional<int> charge; // a peptide's "/2": the ion [M+2H]2+

    /// The count of `column`, 0 for a column the formula does not name.
    text::Extended countOf(int column) const;
};

/// The formula the way the window's Formula box writes it: symbol and count text of each
/// column with a count above 0, in column order ("H12C6O6" with the shipped table).
std::string tableOrderText(const FormulaCounts& counts, const std::vector<std::string>& symbols);

} // namespace orvane::formula
