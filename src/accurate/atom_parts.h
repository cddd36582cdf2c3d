#pragma once

#include <vector>

#include "accurate/accurate_masses.h"
#include "accurate/element_isotopes.h"
#include "accurate/parsed_isotopes.h"
#include "data/data_tables.h"

namespace orvane::accurate {

// The atoms of one element or label with their isotopes, as the convolution takes them.
struct AtomPart {
    ElementIsotopes element;
    long long atoms = 0;
    bool label = false; // the monoisotopic mass takes the label's isotope

    const Isotope& monoisotopic() const {
        return label ? element.isotopes.front() : element.mostAbundant();
    }
};

/// The parts of the atoms with a count above 0, labels last. Raises text::Error for a
/// negative count and for what readElementIsotopes refuses.
std::vector<AtomPart> atomPartsOf(const std::vector<AtomCount>& atoms,
                                  const data::DataTables& tables, char separator,
                                  const std::vector<LabelAtoms>& labels);
/// The same with the isotopes read once; `tables` names an element in messages.
std::vector<AtomPart> atomPartsOf(const std::vector<AtomCount>& atoms,
                                  const data::DataTables& tables, const ParsedIsotopes& parsed,
                                  const std::vector<LabelAtoms>& labels);

} // namespace orvane::accurate
