#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::data {

// A table of text cells addressed by (column, row), the storage of record for the
// element table, the isotope table and the working-element grid. Like the grids it
// models, it keeps cells written beyond its shown size: the counts say what is shown,
// not what is stored. Reading a cell that was never written gives the empty text.
class TextGrid {
public:
    TextGrid(int columnCount, int rowCount);
    TextGrid(const TextGrid&) = default;
    TextGrid& operator=(const TextGrid&) = default;
    // a grid moved from takes a revision of its own: its cells are gone
    TextGrid(TextGrid&& other) noexcept;
    TextGrid& operator=(TextGrid&& other) noexcept;
    ~TextGrid() = default;

    int columnCount() const { return m_columnCount; }
    int rowCount() const { return m_rowCount; }
    /// Changes the shown size; stored cells stay stored.
    void setColumnCount(int columnCount);
    void setRowCount(int rowCount);

    /// The text of a cell; "" for a cell never written (also outside the shown size).
    const std::string& cell(int column, int row) const;
    /// Writes a cell; column and row must not be negative.
    void setCell(int column, int row, std::string text);

    /// A number that changes with every change of any grid: two grids with the same
    /// revision are one and its unchanged copies, so what was read from the one holds for
    /// the other.
    std::uint64_t revision() const { return m_revision; }

private:
    void changed();

    int m_columnCount;
    int m_rowCount;
    std::uint64_t m_revision = 0;
    std::vector<std::vector<std::string>> m_rows; // m_rows[row][column], grown on write
};

} // namespace orvane::data
