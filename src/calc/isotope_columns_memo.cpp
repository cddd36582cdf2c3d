#include "calc/isotope_columns_memo.h"

namespace orvane::calc {

void IsotopeColumnsMemo::follow(const data::TextGrid& isotopes, char separator) {
    if (isotopes.revision() != m_revision || separator != m_separator) {
        m_columns.clear();
        m_revision = isotopes.revision();
        m_separator = separator;
    }
}

std::optional<int> IsotopeColumnsMemo::width(int column) const {
    const auto c = static_cast<std::size_t>(column);
    return column >= 0 && c < m_columns.size() ? m_columns[c].width : std::nullopt;
}

void IsotopeColumnsMemo::keepWidth(int column, int width) {
    if (column >= 0) {
        at(column).width = width;
    }
}

const IsotopeColumnsMemo::Slots* IsotopeColumnsMemo::isotopeSlots(int column) const {
    const auto c = static_cast<std::size_t>(column);
    return column >= 0 && c < m_columns.size() && m_columns[c].isotopeSlots
               ? &*m_columns[c].isotopeSlots
               : nullptr;
}

void IsotopeColumnsMemo::keepIsotopeSlots(int column, const Slots& kept) {
    if (column >= 0) {
        at(column).isotopeSlots = kept;
    }
}

IsotopeColumnsMemo::Column& IsotopeColumnsMemo::at(int column) {
    const auto c = static_cast<std::size_t>(column);
    if (c >= m_columns.size()) {
        m_columns.resize(c + 1);
    }
    return m_columns[c];
}

} // namespace orvane::calc
