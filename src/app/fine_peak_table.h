#pragma once

#include <memory>

#include <QTableView>

#include "app/fine_peak_model.h"
#include "profile/profile.h"

namespace orvane::app {

class ProfilePlotView;

// The second table of the high-resolution window: the fine peaks in the plot's m/z range,
// following every zoom. It shows itself only while the profile's resolving power separates
// the fine peaks (FinePeakModel::listing).
class FinePeakTable : public QTableView {
    Q_OBJECT

public:
    FinePeakTable(const ProfilePlotView& plot, char separator, QWidget* parent = nullptr);

    const FinePeakModel& peaks() const { return m_peaks; }
    /// Lists the fine peaks of this profile of an ion of `charge` (none for no profile).
    void setProfile(std::shared_ptr<const profile::Profile> profile, int charge);

private:
    void follow();

    const ProfilePlotView& m_plot;
    FinePeakModel m_peaks;
    std::shared_ptr<const profile::Profile> m_profile;
    int m_charge = 1;
};

} // namespace orvane::app
