#include "app/correction_table_model.h"

namespace orvane::app {

CorrectionTableModel::CorrectionTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CorrectionTableModel::setTable(tracer::TextTable table) {
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int CorrectionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_table.lines.size());
}

int CorrectionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_table.header.size());
}

QVariant CorrectionTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const std::vector<std::string>& line = m_table.lines[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole) {
        return column < line.size() ? QString::fromStdString(line[column]) : QString();
    }
    // numbers right-aligned as in the other tables; the names and labels left
    if (role == Qt::TextAlignmentRole) {
        const bool text = column < 4;
        return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
    }
    return {};
}

QVariant CorrectionTableModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return {};
    }
    return QString::fromStdString(m_table.header[static_cast<std::size_t>(section)]);
}

} // namespace orvane::app
