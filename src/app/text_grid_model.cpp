#include "app/text_grid_model.h"

#include <algorithm>

namespace orvane::app {

namespace {

int bodyRows(const data::TextGrid& grid) {
    return std::max(grid.rowCount() - 1, 0);
}

} // namespace

TextGridModel::TextGridModel(const data::TextGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_rows(bodyRows(grid)),
      m_columns(std::max(grid.columnCount(), 0)) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows ||
        index.column() >= m_columns) {
        return {};
    }
    return QString::fromStdString(m_grid.cell(index.column(), index.row() + 1));
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole || section < 0 || section >= m_columns) {
        return {};
    }
    return QString::fromStdString(m_grid.cell(section, 0));
}

void TextGridModel::refresh() {
    const int rows = bodyRows(m_grid);
    const int columns = std::max(m_grid.columnCount(), 0);
    if (rows != m_rows || columns != m_columns) {
        beginResetModel();
        m_rows = rows;
        m_columns = columns;
        endResetModel();
        return;
    }
    if (m_columns > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
        if (m_rows > 0) {
            emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1), {Qt::DisplayRole});
        }
    }
}

} // namespace orvane::app
