#pragma once

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

    int columnCount() const { return m_columnCount; }
    int rowCount() const { return m_rowCount; }
    /// Changes the shown size; stored cells stay stored.
    void setColumnCount(int columnCount);
    void setRowCount(int rowCount);

    /// The text of a cell; "" for a cell never written (also outside the shown size).
    const std::string& cell(int column, int row) const;
    /// Writes a cell; column and row must not be negative.
    void setCell(int column, int row, std::string text);

private:
    int m_columnCount;
    int m_rowCount;
    std::vector<std::vector<std::string>> m_rows; // m_rows[row][column], grown on write
};

} // namespace orvane::data
