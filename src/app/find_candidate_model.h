#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "find/formula_search.h"

namespace orvane::app {

// The candidates of a formula search as a table: rank, formula, ion, m/z, ppm, RDBE,
// isotope score, score. The display role is text; the sort role holds the number (or the
// text) each column sorts by.
class FindCandidateModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int sortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    /// Replaces every row with the candidates, ranked as given.
    void setCandidates(std::vector<find::Candidate> candidates);
    const std::vector<find::Candidate>& candidates() const { return m_candidates; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<find::Candidate> m_candidates;
};

} // namespace orvane::app
