#pragma once

#include "accurate/parsed_isotopes.h"
#include "calc/composition.h"
#include "data/data_tables.h"
#include "formula/formula_reader.h"

namespace orvane::ions {

// The molecule under study and the data it is read against: what every computation of its
// ions takes. A view of values held elsewhere (a session's state, a test's tables).
struct Molecule {
    const data::DataTables& tables;
    // what the formula reader takes of the tables; empty before a load, then made from them
    const formula::ReaderTables& reader;
    // the isotopes of every element as the accurate masses read them; may be empty
    const accurate::ParsedIsotopes& isotopes;
    const calc::Composition& composition; // the working elements with their counts and labels
};

} // namespace orvane::ions
