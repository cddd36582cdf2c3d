#include "accurate/parsed_isotopes.h"

#include <cassert>

#include "text/error.h"

namespace orvane::accurate {

ParsedIsotopes::ParsedIsotopes(const data::DataTables& tables, char separator) {
    const auto columns = static_cast<std::size_t>(std::max(tables.elementCount, 0)) + 1;
    m_isotopes.resize(columns);
    m_errors.resize(columns);
    for (std::size_t column = 1; column < columns; ++column) {
        try {
            m_isotopes[column] = readElementIsotopes(tables, static_cast<int>(column), separator);
        } catch (const text::Error& error) {
            m_errors[column] = error.what();
        }
    }
}

const ElementIsotopes& ParsedIsotopes::of(int column) const {
    const auto c = static_cast<std::size_t>(column);
    assert(column >= 1 && c < m_isotopes.size());
    if (!m_errors[c].empty()) {
        throw text::Error(m_errors[c]);
    }
    return m_isotopes[c];
}

} // namespace orvane::accurate
