#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "calc/pattern_convolution.h"
#include "calc/shift_tail_bound.h"
#include "data/text_grid.h"

namespace orvane::calc {

// What the engine reads from the isotope table's columns (each element's window width and
// its isotope slots, the tail bound's logs made from those, and the pattern of so many
// atoms of the element alone, cut where a centroid-only run cut it), remembered while the table stays the one it was read from: a batch
// reads the same few columns line after line. Only what was read without an error is kept,
// so a cell that fails is read again, and fails where it always does.
class IsotopeColumnsMemo {
public:
    using Slots = std::array<IsotopeSlot, PatternConvolution::slotCount>;

    /// Forgets everything unless `isotopes` is (a copy of) the table of the last call and
    /// read with the same separator.
    void follow(const data::TextGrid& isotopes, char separator);

    std::optional<int> width(int column) const;
    void keepWidth(int column, int width);
    const Slots* isotopeSlots(int column) const;
    void keepIsotopeSlots(int column, const Slots& kept);
    const ShiftTailBound::AtomLogs* shiftLogs(int column) const;
    void keepShiftLogs(int column, const ShiftTailBound::AtomLogs& kept);
    const PatternConvolution::FirstSteps* atomSteps(int column, int atoms) const;
    /// Replaces what was kept for these atoms; beyond a few thousand counts of one column
    /// nothing more is kept.
    void keepAtomSteps(int column, int atoms, PatternConvolution::FirstSteps kept);

private:
    struct Column {
        std::optional<int> width;
        std::optional<Slots> isotopeSlots;
        std::optional<ShiftTailBound::AtomLogs> shiftLogs;
        std::unordered_map<int, PatternConvolution::FirstSteps> atomSteps;
    };
    const Column* find(int column) const; // none for a column never kept
    Column& at(int column);

    std::uint64_t m_revision = 0;
    char m_separator = 0;
    std::vector<Column> m_columns;
};

} // namespace orvane::calc
