#pragma once

#include <optional>
#include <vector>

#include <QAbstractTableModel>

namespace orvane::app {

// One row of the high-resolution table.
struct ClusterRow {
    long long nominalMass = 0;
    double mass = 0;
    double mz = 0;
    double intensity = 0;                  // percent of the tallest
    std::optional<double> measuredPercent; // with a measured spectrum beside the theory
    std::optional<double> difference;      // measured minus theory, percent
    std::optional<double> measuredMz;      // where the matched measured peaks lie
    std::optional<double> ppm;             // their error against the lines they matched
    bool mostAbundant = false;             // the tallest cluster, shown in bold
};

// The accurate clusters of the ion as a read-only table: nominal mass, accurate mass, m/z,
// intensity, and with a measured spectrum the measured intensity, the difference, the
// measured m/z and its error in ppm. The most abundant row is bold. The rows are replaced
// as a whole.
class IonClusterModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit IonClusterModel(char separator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Shows these rows; `measured` says whether the measured columns are shown.
    void setRows(std::vector<ClusterRow> rows, bool measured);

private:
    QString cellText(int row, int column) const;

    char m_separator;
    std::vector<ClusterRow> m_rows;
    bool m_measured = false;
};

} // namespace orvane::app
