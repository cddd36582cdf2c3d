#pragma once

#include <QAbstractTableModel>

#include "tracer/correction_table.h"

namespace orvane::app {

// The correction's table of text cells as a read-only Qt table, its header the table's.
class CorrectionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CorrectionTableModel(QObject* parent = nullptr);

    /// Replaces the shown table.
    void setTable(tracer::TextTable table);
    const tracer::TextTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    tracer::TextTable m_table;
};

} // namespace orvane::app
