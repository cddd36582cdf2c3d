#include "app/find_candidate_model.h"

#include <cmath>

namespace orvane::app {

namespace {

enum Column { Rank, Formula, Ion, Mz, Ppm, Rdbe, IsotopeScore, Cosine, Score, ColumnCount };

} // namespace

void FindCandidateModel::setCandidates(std::vector<find::Candidate> candidates) {
    beginResetModel();
    m_candidates = std::move(candidates);
    endResetModel();
}

int FindCandidateModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_candidates.size());
}

int FindCandidateModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindCandidateModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= ColumnCount || (role != Qt::DisplayRole && role != sortRole)) {
        return {};
    }
    const find::Candidate& candidate = m_candidates[static_cast<std::size_t>(index.row())];
    const bool display = role == Qt::DisplayRole;
    switch (index.column()) {
    case Rank:
        return index.row() + 1;
    case Formula:
        return QString::fromStdString(candidate.formula);
    case Ion:
        return QString::fromStdString(candidate.ion);
    case Mz:
        return display ? QVariant(QString::number(candidate.mz, 'f', 5)) : QVariant(candidate.mz);
    case Ppm:
        // sorted by the size of the error, shown with its sign
        return display ? QVariant(QString::number(candidate.ppm, 'f', 2))
                       : QVariant(std::abs(candidate.ppm));
    case Rdbe:
        return display ? QVariant(QString::number(candidate.rdbe, 'g', 6))
                       : QVariant(candidate.rdbe);
    case IsotopeScore:
        if (!candidate.isotopeScore) {
            return display ? QVariant(QString()) : QVariant(0.0);
        }
        return display ? QVariant(QString::number(*candidate.isotopeScore, 'f', 3))
                       : QVariant(*candidate.isotopeScore);
    case Cosine:
        if (!candidate.cosine) {
            return display ? QVariant(QString()) : QVariant(0.0);
        }
        return display ? QVariant(QString::number(*candidate.cosine, 'f', 6))
                       : QVariant(*candidate.cosine);
    case Score:
        return display ? QVariant(QString::number(candidate.score, 'f', 3))
                       : QVariant(candidate.score);
    default:
        return {};
    }
}

QVariant FindCandidateModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const names[] = {"Rank", "Formula",       "Ion",    "m/z",  "ppm",
                                        "RDBE", "Isotope score", "Cosine", "Score"};
    return QString::fromLatin1(names[section]);
}

} // namespace orvane::app
