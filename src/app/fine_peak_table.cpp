#include "app/fine_peak_table.h"

#include <QHeaderView>

#include "app/profile_plot_view.h"
#include "app/table_copy.h"

namespace orvane::app {

FinePeakTable::FinePeakTable(const ProfilePlotView& plot, char separator, QWidget* parent)
    : QTableView(parent), m_plot(plot), m_peaks(separator) {
    setObjectName(QStringLiteral("FinePeaks"));
    setModel(&m_peaks);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    makeTableCopyable(*this);
    connect(&plot, &ProfilePlotView::viewChanged, this, &FinePeakTable::follow);
    hide();
}

void FinePeakTable::setProfile(std::shared_ptr<const profile::Profile> profile, int charge) {
    m_profile = std::move(profile);
    m_charge = charge;
    follow();
}

void FinePeakTable::follow() {
    const plot::ViewRange& view = m_plot.view();
    m_peaks.show(m_profile, m_charge, view.mzLow, view.mzHigh);
    setVisible(m_peaks.listing());
}

} // namespace orvane::app
