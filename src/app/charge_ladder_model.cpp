#include "app/charge_ladder_model.h"

#include <cstdlib>

#include "text/number_text.h"

namespace orvane::app {

namespace {

// short: the table shares the window's bottom row with the summary and the clusters
const char* const headers[] = {"z", "Mono m/z", "Top m/z", "Average m/z"};

} // namespace

ChargeLadderModel::ChargeLadderModel(char separator, QObject* parent)
    : QAbstractTableModel(parent), m_separator(separator) {}

int ChargeLadderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rungs.size());
}

int ChargeLadderModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(headers));
}

QVariant ChargeLadderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= columnCount()) {
        return {};
    }
    const ions::LadderRung& rung = m_rungs[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        const auto fixed = [this](double value) {
            return QString::fromStdString(text::fixedText(value, 18, 4, m_separator));
        };
        switch (index.column()) {
        case 0:
            return QString::number(std::abs(rung.charge)) +
                   (rung.charge < 0 ? QLatin1Char('-') : QLatin1Char('+'));
        case 1:
            return fixed(rung.monoisotopicMz);
        case 2:
            return fixed(rung.mostAbundantMz);
        default:
            return fixed(rung.averageMz);
        }
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole) {
        // the headers are short; the tooltip says what a column is
        static const char* const meanings[] = {"", "monoisotopic m/z", "most abundant m/z",
                                               "average m/z"};
        return index.column() == 0 ? QString::fromStdString(rung.ion)
                                   : QString::fromStdString(rung.ion) + QStringLiteral(": ") +
                                         QString::fromLatin1(meanings[index.column()]);
    }
    return {};
}

QVariant ChargeLadderModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(headers[section]);
}

void ChargeLadderModel::setRungs(std::vector<ions::LadderRung> rungs) {
    beginResetModel();
    m_rungs = std::move(rungs);
    endResetModel();
}

} // namespace orvane::app
