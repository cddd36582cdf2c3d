#pragma once

#include <QAbstractTableModel>

#include "data/text_grid.h"

namespace orvane::app {

// A read-only view of a grid of text cells. The grid's row 0 is its fixed header row and
// becomes the horizontal header; grid row r is model row r - 1. The model keeps the size
// it last announced, so that a view never asks for rows the grid grew or lost behind its
// back (a handler may show a message box halfway through a change).
class TextGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TextGridModel(const data::TextGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Shows the grid as it is now: a reset when its size changed, otherwise every cell
    /// is reported changed (so that the views keep their current cell).
    void refresh();

private:
    const data::TextGrid& m_grid;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace orvane::app
