#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "calc/pattern_convolution.h"
#include "data/text_grid.h"

namespace orvane::calc {

// What the engine reads from the isotope table's columns (each element's window width and
// its isotope slots), remembered while the table stays the one it was read from: a batch
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

private:
    struct Column {
        std::optional<int> width;
        std::optional<Slots> isotopeSlots;
    };
    Column& at(int column);

    std::uint64_t m_revision = 0;
    char m_separator = 0;
    std::vector<Column> m_columns;
};

} // namespace orvane::calc
