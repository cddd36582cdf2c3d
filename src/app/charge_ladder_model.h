#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "ion/charge_ladder.h"

namespace orvane::app {

// The charge states as a read-only table: z, monoisotopic m/z, most abundant m/z, average
// m/z; the row's ion notation as its tooltip. The rows are replaced as a whole.
class ChargeLadderModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ChargeLadderModel(char separator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Shows these rungs.
    void setRungs(std::vector<ions::LadderRung> rungs);
    const std::vector<ions::LadderRung>& rungs() const { return m_rungs; }

private:
    char m_separator;
    std::vector<ions::LadderRung> m_rungs;
};

} // namespace orvane::app
