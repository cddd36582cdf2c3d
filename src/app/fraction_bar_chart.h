#pragma once

#include <vector>

#include <QWidget>

#include "tracer/fraction_bars.h"

namespace orvane::app {

// The stacked bars of one metabolite's isotopologue fractions, one per sample, painted
// from the segments the tracer layer lays out.
class FractionBarChart : public QWidget {
    Q_OBJECT

public:
    explicit FractionBarChart(QWidget* parent = nullptr);

    /// Shows `bars` of the metabolite named `title`; no bars clears the chart.
    void setBars(std::vector<tracer::FractionBar> bars, const QString& title);
    const std::vector<tracer::FractionBar>& bars() const { return m_bars; }

    QSize sizeHint() const override { return {360, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<tracer::FractionBar> m_bars;
    QString m_title;
};

} // namespace orvane::app
