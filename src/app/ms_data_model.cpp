#include "app/ms_data_model.h"

#include <algorithm>

namespace orvane::app {

namespace {

int bodyRows(const calc::MsDataGrid& grid) {
    return std::max(grid.rowCount() - 1, 0);
}

} // namespace

MsDataModel::MsDataModel(const calc::MsDataGrid& grid, char separator, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_separator(separator), m_rows(bodyRows(grid)) {}

int MsDataModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int MsDataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : calc::MsDataGrid::columnCount;
}

QVariant MsDataModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows ||
        index.column() >= calc::MsDataGrid::columnCount) {
        return {};
    }
    return QString::fromStdString(m_grid.cell(index.column(), index.row() + 1, m_separator));
}

QVariant MsDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole || section < 0 || section >= calc::MsDataGrid::columnCount) {
        return {};
    }
    return QString::fromStdString(m_grid.cell(section, 0, m_separator));
}

void MsDataModel::refresh() {
    const int rows = bodyRows(m_grid);
    if (rows != m_rows) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, calc::MsDataGrid::columnCount - 1),
                         {Qt::DisplayRole});
    }
}

} // namespace orvane::app
