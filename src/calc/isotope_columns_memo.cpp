#include "calc/isotope_columns_memo.h"

#include <utility>

namespace orvane::calc {

void IsotopeColumnsMemo::follow(const data::TextGrid& isotopes, char separator) {
    if (isotopes.revision() != m_revision || separator != m_separator) {
        m_columns.clear();
        m_revision = isotopes.revision();
        m_separator = separator;
    }
}

const IsotopeColumnsMemo::Column* IsotopeColumnsMemo::find(int column) const {
    const auto c = static_cast<std::size_t>(column);
    return column >= 0 && c < m_columns.size() ? &m_columns[c] : nullptr;
}

std::optional<int> IsotopeColumnsMemo::width(int column) const {
    const Column* kept = find(column);
    return kept != nullptr ? kept->width : std::nullopt;
}

void IsotopeColumnsMemo::keepWidth(int column, int width) {
    if (column >= 0) {
        at(column).width = width;
    }
}

const IsotopeColumnsMemo::Slots* IsotopeColumnsMemo::isotopeSlots(int column) const {
    const Column* kept = find(column);
    return kept != nullptr && kept->isotopeSlots ? &*kept->isotopeSlots : nullptr;
}

void IsotopeColumnsMemo::keepIsotopeSlots(int column, const Slots& kept) {
    if (column >= 0) {
        at(column).isotopeSlots = kept;
    }
}

const ShiftTailBound::AtomLogs* IsotopeColumnsMemo::shiftLogs(int column) const {
    const Column* kept = find(column);
    return kept != nullptr && kept->shiftLogs ? &*kept->shiftLogs : nullptr;
}

void IsotopeColumnsMemo::keepShiftLogs(int column, const ShiftTailBound::AtomLogs& kept) {
    if (column >= 0) {
        at(column).shiftLogs = kept;
    }
}

const PatternConvolution::FirstSteps* IsotopeColumnsMemo::atomSteps(int column,
                                                                    int atoms) const {
    const Column* kept = find(column);
    if (kept == nullptr) {
        return nullptr;
    }
    const auto steps = kept->atomSteps.find(atoms);
    return steps != kept->atomSteps.end() ? &steps->second : nullptr;
}

void IsotopeColumnsMemo::keepAtomSteps(int column, int atoms,
                                       PatternConvolution::FirstSteps kept) {
    // a batch meets a few hundred counts of its first element; this bounds what an
    // unusual one keeps
    constexpr std::size_t mostCounts = 4096;
    if (column < 0) {
        return;
    }
    auto& steps = at(column).atomSteps;
    if (steps.size() < mostCounts || steps.contains(atoms)) {
        steps.insert_or_assign(atoms, std::move(kept));
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
