#include "app/ion_cluster_model.h"

#include <QFont>
#include <QStringList>

#include "text/number_text.h"

namespace orvane::app {

namespace {

const char* const headers[] = {"Nominal mass", "Accurate mass", "m/z",          "Intensity %",
                               "Measured %",   "Difference",    "Measured m/z", "ppm"};

} // namespace

IonClusterModel::IonClusterModel(char separator, QObject* parent)
    : QAbstractTableModel(parent), m_separator(separator) {}

int IonClusterModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int IonClusterModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (m_measured ? 8 : 4);
}

QString IonClusterModel::cellText(int row, int column) const {
    const ClusterRow& cluster = m_rows[static_cast<std::size_t>(row)];
    const auto fixed = [this](double value, int decimals) {
        return QString::fromStdString(text::fixedText(value, 18, decimals, m_separator));
    };
    switch (column) {
    case 0:
        return QString::number(cluster.nominalMass);
    case 1:
        return fixed(cluster.mass, 5);
    case 2:
        return fixed(cluster.mz, 5);
    case 3:
        return fixed(cluster.intensity, 3);
    case 4:
        return cluster.measuredPercent ? fixed(*cluster.measuredPercent, 3) : QString();
    case 5:
        return cluster.difference ? fixed(*cluster.difference, 3) : QString();
    case 6:
        return cluster.measuredMz ? fixed(*cluster.measuredMz, 5) : QString();
    case 7:
        return cluster.ppm ? fixed(*cluster.ppm, 2) : QString();
    default:
        return {};
    }
}

QVariant IonClusterModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (m_rows[static_cast<std::size_t>(index.row())].mostAbundant) {
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role == Qt::ToolTipRole) {
            return QStringLiteral("The most abundant cluster");
        }
    }
    return {};
}

QVariant IonClusterModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section >= 0 && section < columnCount() ? QString::fromLatin1(headers[section])
                                                       : QVariant();
    }
    return section + 1;
}

void IonClusterModel::setRows(std::vector<ClusterRow> rows, bool measured) {
    beginResetModel();
    m_rows = std::move(rows);
    m_measured = measured;
    endResetModel();
}

} // namespace orvane::app
