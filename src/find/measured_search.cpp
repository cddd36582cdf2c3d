#include "find/measured_search.h"

#include "measured/cluster_spacing.h"
#include "text/number_text.h"
#include "text/shortest_text.h"

namespace orvane::find {

std::string noTargetPeakNotice(const measured::Spectrum& peaks, double target,
                               const MassTolerance& tolerance) {
    const double window =
        tolerance.milliDaltons ? tolerance.value / 1000 : target * tolerance.value * 1e-6;
    if (const auto near = measured::tallestNear(peaks, target, window);
        near && tolerance.accepts(target, peaks.mz[*near])) {
        return {};
    }
    return "the measured spectrum has no peak within " + text::shortestText(tolerance.value) +
           (tolerance.milliDaltons ? " mDa" : " ppm") + " of m/z " +
           text::fixedText(target, 18, 4, '.') + "; ranked by mass alone";
}

MeasuredSearch searchMeasured(const FindQuery& query, const data::DataTables& tables,
                              char separator, const measured::Spectrum* peaks,
                              const IsotopeScoreSettings& settings, const FindProgress& progress) {
    MeasuredSearch search;
    search.result = findFormulas(query, tables, separator, progress);
    if (peaks == nullptr || search.result.cancelled) {
        return search;
    }
    if (std::string notice = noTargetPeakNotice(*peaks, query.mz, query.tolerance);
        !notice.empty()) {
        search.notices.push_back(std::move(notice));
        return search;
    }
    scoreCandidates(search.result, query, *peaks, settings, tables, separator);
    search.scored = true;
    // the charge of the ions searched, as their candidates have it
    const int charge =
        search.result.candidates.empty() ? 1 : search.result.candidates.front().charge;
    search.evidence = elementEvidence(*peaks, query.mz, charge, query.tolerance);
    if (std::string spacing = measured::chargeSpacingNotice(
            *peaks, query.mz, query.mz / settings.resolvingPower, charge);
        !spacing.empty()) {
        search.notices.push_back(std::move(spacing));
    }
    return search;
}

} // namespace orvane::find
