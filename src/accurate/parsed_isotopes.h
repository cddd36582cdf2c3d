#pragma once

#include <string>
#include <vector>

#include "accurate/element_isotopes.h"
#include "data/data_tables.h"

namespace orvane::accurate {

// The isotopes of every column of the tables, read once: the tables change only with a
// load, and batches ask for the same elements line after line. A column that cannot be
// read keeps its error, raised when the column is asked for, as readElementIsotopes would.
class ParsedIsotopes {
public:
    /// Nothing read: every column is to be read from the tables.
    ParsedIsotopes() = default;
    /// Reads columns 1 to the element count with readElementIsotopes.
    ParsedIsotopes(const data::DataTables& tables, char separator);

    bool empty() const { return m_isotopes.empty(); }
    /// The isotopes of `column`; raises the text::Error reading them raised.
    const ElementIsotopes& of(int column) const;

private:
    std::vector<ElementIsotopes> m_isotopes; // by column, index 0 unused
    std::vector<std::string> m_errors;       // "" where the column was read
};

} // namespace orvane::accurate
