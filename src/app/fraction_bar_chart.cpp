#include "app/fraction_bar_chart.h"

#include <QColor>
#include <QPainter>

namespace orvane::app {

namespace {

constexpr int margin = 24; // room for the title above and the sample names below

// Isotopologue k's colour: hues around the circle, far apart for neighbours.
QColor colourOf(int isotopologue) {
    return QColor::fromHsv((isotopologue * 137) % 360, 160, 220);
}

} // namespace

FractionBarChart::FractionBarChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FractionBarChart"));
    setMinimumSize(200, 120);
}

void FractionBarChart::setBars(std::vector<tracer::FractionBar> bars, const QString& title) {
    m_bars = std::move(bars);
    m_title = title;
    update();
}

void FractionBarChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().text().color());
    painter.drawText(QRect(0, 0, width(), margin), Qt::AlignCenter, m_title);
    const std::vector<tracer::BarSegment> segments =
        tracer::stackedSegments(m_bars, width(), height(), margin);
    for (const tracer::BarSegment& segment : segments) {
        painter.fillRect(QRectF(segment.left, segment.top, segment.width, segment.height),
                         colourOf(segment.isotopologue));
    }
    if (m_bars.empty()) {
        return;
    }
    const double slot = static_cast<double>(width() - 2 * margin) / m_bars.size();
    for (std::size_t b = 0; b < m_bars.size(); ++b) {
        const QRectF label(margin + slot * b, height() - margin, slot, margin);
        painter.drawText(label, Qt::AlignCenter, QString::fromStdString(m_bars[b].sample));
    }
}

} // namespace orvane::app
