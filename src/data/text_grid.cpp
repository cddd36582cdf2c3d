#include "data/text_grid.h"

#include <atomic>
#include <cassert>
#include <utility>

namespace orvane::data {

namespace {
const std::string emptyText;
// shared by all grids, so that no two different contents ever carry the same revision
std::atomic<std::uint64_t> lastRevision{0};
} // namespace

TextGrid::TextGrid(int columnCount, int rowCount)
    : m_columnCount(columnCount), m_rowCount(rowCount) {
    assert(columnCount >= 0 && rowCount >= 0);
    changed();
}

TextGrid::TextGrid(TextGrid&& other) noexcept
    : m_columnCount(other.m_columnCount), m_rowCount(other.m_rowCount),
      m_revision(other.m_revision), m_rows(std::move(other.m_rows)) {
    other.m_rows.clear();
    other.changed();
}

TextGrid& TextGrid::operator=(TextGrid&& other) noexcept {
    if (this != &other) {
        m_columnCount = other.m_columnCount;
        m_rowCount = other.m_rowCount;
        m_revision = other.m_revision;
        m_rows = std::move(other.m_rows);
        other.m_rows.clear();
        other.changed();
    }
    return *this;
}

void TextGrid::changed() {
    m_revision = lastRevision.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TextGrid::setColumnCount(int columnCount) {
    assert(columnCount >= 0);
    m_columnCount = columnCount;
    changed();
}

void TextGrid::setRowCount(int rowCount) {
    assert(rowCount >= 0);
    m_rowCount = rowCount;
    changed();
}

const std::string& TextGrid::cell(int column, int row) const {
    if (column < 0 || row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) {
        return emptyText;
    }
    const std::vector<std::string>& cells = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size()) {
        return emptyText;
    }
    return cells[static_cast<std::size_t>(column)];
}

void TextGrid::setCell(int column, int row, std::string text) {
    assert(column >= 0 && row >= 0);
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    if (r >= m_rows.size()) {
        m_rows.resize(r + 1);
    }
    std::vector<std::string>& cells = m_rows[r];
    if (c >= cells.size()) {
        cells.resize(c + 1);
    }
    cells[c] = std::move(text);
    changed();
}

} // namespace orvane::data
