#pragma once

#include "accurate/parsed_isotopes.h"
#include "data/data_tables.h"
#include "formula/formula_reader.h"

namespace orvane::tracer {

// What a correction reads of the loaded tables: the formula reader's view, every element's
// natural isotopes, and the tables themselves for isotope labels.
struct TracerTables {
    const data::DataTables& tables;
    const formula::ReaderTables& reader;
    const accurate::ParsedIsotopes& isotopes;
    char separator = '.';
};

} // namespace orvane::tracer
