#pragma once

#include "data/data_tables.h"
#include "formula/formula_reader.h"

namespace orvane::ions {

/// What the formula reader needs of the loaded tables: symbols, natural and label mass
/// numbers, weights. The tables change only with a load, so callers that read many formulas
/// gather this once.
formula::ReaderTables readerTablesOf(const data::DataTables& tables, char separator);

} // namespace orvane::ions
