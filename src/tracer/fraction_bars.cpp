#include "tracer/fraction_bars.h"

#include <algorithm>
#include <cmath>

namespace orvane::tracer {

std::vector<FractionBar> fractionBarsOf(const CorrectionResult& result,
                                        const std::string& metabolite,
                                        const std::string& derivative) {
    std::vector<FractionBar> bars;
    for (const std::string& sample : result.samples) {
        FractionBar bar{sample, {}};
        bool found = false;
        for (const CorrectedRow& row : result.rows) {
            if (row.sample == sample && row.metabolite == metabolite &&
                row.derivative == derivative) {
                found = true;
                bar.fractions.push_back(row.fraction);
            }
        }
        if (!found) {
            continue;
        }
        // a sample whose corrected sum was 0 has no fractions to stack
        if (std::any_of(bar.fractions.begin(), bar.fractions.end(),
                        [](double f) { return std::isnan(f); })) {
            bar.fractions.clear();
        }
        bars.push_back(std::move(bar));
    }
    return bars;
}

std::vector<BarSegment> stackedSegments(const std::vector<FractionBar>& bars, double width,
                                        double height, double margin) {
    const double innerWidth = width - 2 * margin;
    const double innerHeight = height - 2 * margin;
    std::vector<BarSegment> segments;
    if (bars.empty() || !(innerWidth > 0) || !(innerHeight > 0)) {
        return segments;
    }
    const double slot = innerWidth / static_cast<double>(bars.size());
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const double left = margin + slot * (static_cast<double>(b) + 0.25);
        double bottom = margin + innerHeight;
        for (std::size_t k = 0; k < bars[b].fractions.size(); ++k) {
            const double h = std::clamp(bars[b].fractions[k], 0.0, 1.0) * innerHeight;
            if (h > 0) {
                segments.push_back({left, bottom - h, slot / 2, h, static_cast<int>(k)});
            }
            bottom -= h;
        }
    }
    return segments;
}

} // namespace orvane::tracer
