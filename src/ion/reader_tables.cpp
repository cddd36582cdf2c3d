#include "ion/reader_tables.h"

#include <utility>

#include "accurate/element_isotopes.h"
#include "accurate/label_isotopes.h"
#include "formula/count_range.h"
#include "formula/element_symbols.h"

namespace orvane::ions {

formula::ReaderTables readerTablesOf(const data::DataTables& tables, char separator) {
    std::vector<std::string> symbols = formula::symbolsOf(tables.elements);
    formula::SymbolIndex index(symbols);
    return {std::move(symbols),
            accurate::massNumbersByColumn(tables, separator),
            accurate::labelMassNumbersByColumn(tables, separator),
            formula::weightsOf(tables.elements, separator),
            std::move(index),
            formula::countRangeWeights(tables.elements, separator)};
}

} // namespace orvane::ions
