#pragma once

#include <vector>

#include "accurate/element_isotopes.h"
#include "accurate/parsed_isotopes.h"
#include "data/data_tables.h"
#include "formula/formula_reader.h"
#include "tracer/isotope_table.h"

namespace orvane::tracer {

// What a correction reads of the loaded tables: the formula reader's view, every element's
// natural isotopes, and the tables themselves for isotope labels.
struct TracerTables {
    const data::DataTables& tables;
    const formula::ReaderTables& reader;
    const accurate::ParsedIsotopes& isotopes;
    char separator = '.';
    // the elements' isotopes, abundances and masses in place of `isotopes` when given
    const IsotopeTable* isotopeTable = nullptr;
};

/// The natural isotopes of the element in `column`, lightest first: the isotope table's
/// when one is given (raising text::Error naming it when it lacks the element), else the
/// loaded tables'.
std::vector<accurate::Isotope> naturalIsotopes(const TracerTables& tables, int column);

} // namespace orvane::tracer
