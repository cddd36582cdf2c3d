#pragma once

#include <cstddef>
#include <memory>

#include <QAbstractTableModel>

#include "profile/profile.h"
#include "profile/separated_fine_peaks.h"

namespace orvane::app {

// The fine peaks of a profile between two m/z as a read-only table: m/z, intensity (per
// cent of the tallest fine peak) and the isotopes other than each element's most abundant
// ("13C1 15N1"; empty for the peak of only the most abundant ones), by m/z as the plot
// shows them. Only a profile whose resolving power separates its fine peaks, and that kept
// their compositions, has rows.
class FinePeakModel : public QAbstractTableModel {
    Q_OBJECT

public:
    /// How many isotopologues a profile keeps the compositions of for the table: 200,000
    /// peaks of four elements take 10 MB; larger ions' fine peaks no instrument separates.
    static constexpr std::size_t compositionLimit = 200'000;

    explicit FinePeakModel(char separator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Lists the fine peaks of `profile` (of an ion of `charge`; none for no profile) that
    /// lie from `low` to `high`.
    void show(std::shared_ptr<const profile::Profile> profile, int charge, double low, double high);
    /// Whether the profile shown has fine peaks to list, in the range or not.
    bool listing() const { return m_listing; }

private:
    char m_separator;
    std::shared_ptr<const profile::Profile> m_profile;
    int m_charge = 0;
    bool m_listing = false;
    profile::StickSpan m_span;
};

} // namespace orvane::app
