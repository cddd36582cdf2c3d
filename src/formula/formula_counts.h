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

// Atoms of one isotope of an element, written as a label: "[13C]6", "D2", "[13C]6{99%}".
// Each labelled position holds the isotope with the purity's probability and otherwise
// the element's other isotopes in their natural ratio.
struct LabelCount {
    int column = 0;           // the element's column
    long long massNumber = 0; // 13 for [13C]
    double purity = 1;        // share of the labelled positions that hold the isotope, (0, 1]
    text::Extended count = 0;
    std::string countText; // as countText of ElementCount
};

// What a formula reads to: each column it names once, in table column order, and each
// label (column, mass number, purity) once, in the same order. A column written with a
// count of 0 ("C0H4") is kept with 0, so that a preview can say so.
struct FormulaCounts {
    std::vector<ElementCount> counts;
    std::vector<LabelCount> labels;
    std::optional<int> charge;        // a peptide's "/2": the ion [M+2H]2+
    std::vector<std::string> notices; // what was read, though likely not meant as written

    /// The count of `column`, 0 for a column the formula does not name.
    text::Extended countOf(int column) const;
};

/// The label as a formula writes it, without its count: "[13C]", "[13C]{99%}".
std::string labelSymbol(const LabelCount& label, const std::vector<std::string>& symbols);

/// The formula the way the window's Formula box writes it: symbol and count text of each
/// column with a count above 0, in column order, each label after its element's column
/// ("H12C6O6", "H12[13C]6O6" with the shipped table).
std::string tableOrderText(const FormulaCounts& counts, const std::vector<std::string>& symbols);

} // namespace orvane::formula
