#include "calc/ms_data_grid.h"

#include <cassert>

#include "text/number_text.h"

namespace orvane::calc {

void MsDataGrid::refill(const std::vector<double>& values) {
    refill(values.size(), 0, values);
}

void MsDataGrid::refill(std::size_t rowCount, std::size_t first, std::span<const double> part) {
    assert(first + part.size() <= rowCount || part.empty());
    m_rowCount = static_cast<int>(rowCount);
    m_blank = false;
    m_first = first;
    m_values.assign(part.begin(), part.end());
}

void MsDataGrid::blank() {
    m_blank = true;
    m_values.clear();
    m_first = 0;
}

double MsDataGrid::value(int row) const {
    if (m_blank || row <= 0 || row >= m_rowCount) {
        return 0.0;
    }
    const auto r = static_cast<std::size_t>(row);
    if (r < m_first || r - m_first >= m_values.size()) {
        return 0.0;
    }
    return m_values[r - m_first];
}

std::string MsDataGrid::cell(int column, int row, char separator) const {
    if (m_blank || row <= 0 || row >= m_rowCount || column < 0 || column >= columnCount) {
        return {};
    }
    const double v = value(row);
    switch (column) {
    case 0:
        return std::to_string(row);
    case 1:
        // 18 decimals would show tiny entries as 0.000...; they keep their digits
        return v < 1e-18 ? text::generalText(v, separator) : text::fixedText(v, 24, 18, separator);
    default:
        return v != 0.0 ? "Calcd" : "";
    }
}

} // namespace orvane::calc
