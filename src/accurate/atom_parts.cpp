#include "accurate/atom_parts.h"

#include <functional>
#include <string>

#include "text/error.h"

namespace orvane::accurate {

namespace {

// The isotopes of a column: read from the tables, or taken from those read once.
using IsotopeReader = std::function<ElementIsotopes(int column)>;

std::vector<AtomPart> partsOf(const std::vector<AtomCount>& atoms, const data::DataTables& tables,
                              const IsotopeReader& read, const std::vector<LabelAtoms>& labels) {
    std::vector<AtomPart> parts;
    parts.reserve(atoms.size() + labels.size());
    for (const AtomCount& count : atoms) {
        if (count.atoms < 0) {
            throw text::Error("The formula has " + std::to_string(count.atoms) + " atoms of " +
                              tables.elements.cell(count.column, data::SymbolRow) +
                              "; accurate masses need counts of 0 or more.");
        }
        if (count.atoms > 0) {
            parts.push_back({read(count.column), count.atoms});
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

} // namespace

std::vector<AtomPart> atomPartsOf(const std::vector<AtomCount>& atoms,
                                  const data::DataTables& tables, char separator,
                                  const std::vector<LabelAtoms>& labels) {
    return partsOf(
        atoms, tables,
        [&tables, separator](int column) { return readElementIsotopes(tables, column, separator); },
        labels);
}

std::vector<AtomPart> atomPartsOf(const std::vector<AtomCount>& atoms,
                                  const data::DataTables& tables, const ParsedIsotopes& parsed,
                                  const std::vector<LabelAtoms>& labels) {
    return partsOf(
        atoms, tables, [&parsed](int column) { return parsed.of(column); }, labels);
}

} // namespace orvane::accurate
