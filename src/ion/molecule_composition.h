#pragma once

#include <string>
#include <vector>

#include "ion/ion_result.h"
#include "calc/composition.h"
#include "data/data_tables.h"

namespace orvane::ions {

// The atoms of one element or one isotope label ("[13C]") of a molecule or an ion.
struct SymbolAmount {
    std::string symbol;
    double count = 0; // may hold a fraction where the count cell does
};

/// The neutral molecule of the working elements, in Hill order, each label as its isotope
/// ("[13C]", "[2H]") right after its element; labels of one isotope at different purities
/// add up.
std::vector<SymbolAmount> moleculeComposition(const calc::Composition& composition);

/// The ion's whole atoms in Hill order, labels as in moleculeComposition.
std::vector<SymbolAmount> ionComposition(const data::DataTables& tables, const IonResult& ion);

} // namespace orvane::ions
