#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace orvane::calc {

// The MS data grid: row r shows index r of the pattern before normalisation, its
// 18-decimal text and the "Calcd" flag. The grid can have hundreds of thousands of
// rows, so it keeps the numbers and makes each cell's text only when asked.
class MsDataGrid {
public:
    static constexpr int columnCount = 3;

    int rowCount() const { return m_rowCount; }
    /// Gives the grid values.size() rows and shows values[r] in row r (r >= 1).
    void refill(const std::vector<double>& values);
    /// Gives the grid rowCount rows showing a pattern that is 0 except in rows first to
    /// first + part.size() - 1, which show the part.
    void refill(std::size_t rowCount, std::size_t first, std::span<const double> part);
    /// Blanks columns 0 to 2 of every row; the row count stays.
    void blank();
    /// True while the grid shows no values (before the first refill and after blank()).
    bool isBlank() const { return m_blank; }

    /// The text of a cell: column 0 the row number, column 1 fixed text (24, 18) of the
    /// value (general text below 1e-18), column 2 "Calcd" for a value other than 0.
    /// Row 0, blanked rows and cells outside the grid are "".
    std::string cell(int column, int row, char separator) const;
    /// The value shown in row r (0 when the row is blank or outside).
    double value(int row) const;

private:
    int m_rowCount = 5;
    bool m_blank = true;
    std::size_t m_first = 0;      // the row of m_values[0]
    std::vector<double> m_values; // rows m_first onwards; rows beyond hold 0
};

} // namespace orvane::calc
