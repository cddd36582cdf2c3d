#include "app/fine_peak_model.h"

#include "text/number_text.h"

namespace orvane::app {

namespace {

const char* const headers[] = {"m/z", "Intensity %", "Isotopes"};
constexpr int columns = 3;

} // namespace

FinePeakModel::FinePeakModel(char separator, QObject* parent)
    : QAbstractTableModel(parent), m_separator(separator) {}

int FinePeakModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_span.last - m_span.first);
}

int FinePeakModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant FinePeakModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= columns) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>((index.column() == 2 ? Qt::AlignLeft : Qt::AlignRight) |
                                Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const std::size_t stick = m_span.first + static_cast<std::size_t>(index.row());
    const profile::Peak& peak = m_profile->sticks[stick];
    switch (index.column()) {
    case 0:
        return QString::fromStdString(text::fixedText(peak.mz, 18, 5, m_separator));
    case 1:
        return QString::fromStdString(text::fixedText(peak.intensity, 18, 4, m_separator));
    default:
        return QString::fromStdString(m_profile->compositions.text(stick));
    }
}

QVariant FinePeakModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    if (section < 0 || section >= columns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromLatin1(headers[section]);
    }
    if (role == Qt::ToolTipRole && section == 2) {
        return QStringLiteral("The isotopes other than each element's most abundant, with their "
                              "atom counts; empty: every atom its most abundant isotope");
    }
    return {};
}

void FinePeakModel::show(std::shared_ptr<const profile::Profile> profile, int charge, double low,
                         double high) {
    // a zoom asks again for the same profile; whether it separates is known then
    const bool listing = profile == m_profile && charge == m_charge
                             ? m_listing
                             : profile != nullptr &&
                                   profile->compositions.peakCount() == profile->sticks.size() &&
                                   profile::finePeaksSeparate(*profile, charge);
    const profile::StickSpan span =
        listing ? profile::sticksWithin(profile->sticks, low, high) : profile::StickSpan{};
    if (profile == m_profile && charge == m_charge && span.first == m_span.first &&
        span.last == m_span.last) {
        return; // a zoom that keeps the same peaks leaves the selection alone
    }
    beginResetModel();
    m_profile = std::move(profile);
    m_charge = charge;
    m_listing = listing;
    m_span = span;
    endResetModel();
}

} // namespace orvane::app
