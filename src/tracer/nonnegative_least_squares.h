#pragma once

#include <vector>

namespace orvane::tracer {

// A dense matrix stored by rows.
struct Matrix {
    int rows = 0;
    int columns = 0;
    std::vector<double> values; // rows x columns, row after row

    Matrix() = default;
    Matrix(int rowCount, int columnCount)
        : rows(rowCount), columns(columnCount),
          values(static_cast<std::size_t>(rowCount) * columnCount, 0.0) {}
    double& at(int row, int column) {
        return values[static_cast<std::size_t>(row) * columns + column];
    }
    double at(int row, int column) const {
        return values[static_cast<std::size_t>(row) * columns + column];
    }
};

/// The x >= 0 that minimises |A x - b|, by Lawson and Hanson's active-set method (Solving
/// Least Squares Problems, 1974, ch. 23): exact up to rounding, where a gradient method
/// stops at its tolerance.
std::vector<double> nonnegativeLeastSquares(const Matrix& a, const std::vector<double>& b);

} // namespace orvane::tracer
