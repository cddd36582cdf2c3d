#pragma once

#include <QAbstractTableModel>

#include "calc/ms_data_grid.h"

namespace orvane::app {

// The MS data grid as a read-only table. It may have millions of rows: each cell's text is
// made only when a view asks for it, and views ask only for the rows they show. Row 0 of
// the grid is its (blank) header row.
class MsDataModel : public QAbstractTableModel {
    Q_OBJECT

public:
    MsDataModel(const calc::MsDataGrid& grid, char separator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Shows the grid as it is now (a reset when its row count changed).
    void refresh();

private:
    const calc::MsDataGrid& m_grid;
    char m_separator;
    int m_rows = 0;
};

} // namespace orvane::app
