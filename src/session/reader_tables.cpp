#include "session/reader_tables.h"

#include "accurate/element_isotopes.h"
#include "accurate/label_isotopes.h"
#include "formula/element_symbols.h"

namespace orvane::session {

formula::ReaderTables readerTablesOf(const data::DataTables& tables, char separator) {
    return {formula::symbolsOf(tables.elements), accurate::massNumbersByColumn(tables, separator),
            accurate::labelMassNumbersByColumn(tables, separator),
            formula::weightsOf(tables.elements, separator)};
}

} // namespace orvane::session
