#include "accurate/atom_parts.h"

#include <string>

#include "text/error.h"

namespace orvane::accurate {

std::vector<AtomPart> atomPartsOf(const std::vector<AtomCount>& atoms,
                                  const data::DataTables& tables, char separator,
                                  const std::vector<LabelAtoms>& labels) {
    std::vector<AtomPart> parts;
    for (const AtomCount& count : atoms) {
        if (count.atoms < 0) {
            throw text::Error("The formula has " + std::to_string(count.atoms) + " atoms of " +
                              tables.elements.cell(count.column, data::SymbolRow) +
                              "; accurate masses need counts of 0 or more.");
        }
        if (count.atoms > 0) {
            parts.push_back({readElementIsotopes(tables, count.column, separator), count.atoms});
        }
    }
    for (const LabelAtoms& label : labels) {
        if (label.atoms < 0) {
            throw text::Error("The formula has " + std::to_string(label.atoms) + " atoms of " +
                              label.isotopes.symbol +
                              "; accurate masses need counts of 0 or more.");
        }
        if (label.atoms > 0) {
            parts.push_back({label.isotopes, label.atoms, true});
        }
    }
    return parts;
}

} // namespace orvane::accurate
