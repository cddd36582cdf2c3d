#include "session/high_resolution_view.h"

#include <algorithm>

#include "measured/cluster_spacing.h"
#include "profile/fine_structure.h"
#include "session/ion_profile.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::session {

namespace {

double boxValue(const std::string& text, const char* box, char separator) {
    const std::optional<double> value = text::tryParseReal(text, separator);
    if (!value) {
        throw text::Error(std::string(box) + " '" + text + "' is not a number.");
    }
    return *value;
}

} // namespace

profile::ProfileSettings profileSettingsOf(const SessionState& state, char separator) {
    profile::ProfileSettings settings;
    settings.resolvingPower = boxValue(state.resolvingPowerText, "Resolving power", separator);
    settings.coverage = boxValue(state.coverageText, "Coverage", separator);
    if (!(settings.resolvingPower > 0)) {
        throw text::Error("Resolving power '" + state.resolvingPowerText + "' must be above 0.");
    }
    if (!(settings.coverage > 0 && settings.coverage <= 1)) {
        throw text::Error("Coverage '" + state.coverageText + "' must be above 0 and at most 1.");
    }
    return settings;
}

measured::MatchTolerance matchToleranceOf(const SessionState& state, char separator) {
    measured::MatchTolerance tolerance;
    tolerance.resolvingPower = profileSettingsOf(state, separator).resolvingPower;
    if (state.toleranceText.find_first_not_of(" \t") != std::string::npos) {
        const double ppm = boxValue(state.toleranceText, "Tolerance", separator);
        if (!(ppm > 0)) {
            throw text::Error("Tolerance '" + state.toleranceText + "' must be above 0.");
        }
        tolerance.ppm = ppm;
    }
    return tolerance;
}

namespace {

// Beyond this many fine peaks the clusters stand in for them: matching against more would
// hold up the window, and such ions have clusters no instrument resolves anyway.
constexpr std::size_t maxMatchedFinePeaks = 200'000;

// The lines a measured spectrum is matched to: the fine peaks, each given to the cluster of
// its nominal mass (the nearest cluster m/z), merged where the resolving power does not
// separate them.
std::vector<measured::TheoreticalPeak> theoryLines(const SessionState& state, const IonResult& ion,
                                                   const measured::MatchTolerance& tolerance,
                                                   char separator) {
    std::vector<measured::TheoreticalPeak> lines;
    const profile::ProfileSettings settings = profileSettingsOf(state, separator);
    const profile::FineStructure fine =
        profile::computeFineStructure(profileInputFor(state, ion, separator).elements, ion.charge,
                                      settings.coverage, maxMatchedFinePeaks);
    if (fine.tooMany || fine.peaks.empty() || ion.clusters.empty()) {
        for (std::size_t c = 0; c < ion.clusters.size(); ++c) {
            lines.push_back({ion.clusters[c].mz, ion.clusters[c].probability, c});
        }
    } else {
        std::size_t cluster = 0; // both ascend in m/z
        for (const profile::FinePeak& peak : fine.peaks) {
            while (cluster + 1 < ion.clusters.size() &&
                   std::abs(ion.clusters[cluster + 1].mz - peak.mz) <
                       std::abs(ion.clusters[cluster].mz - peak.mz)) {
                ++cluster;
            }
            lines.push_back({peak.mz, peak.probability, cluster});
        }
    }
    return measured::mergeUnresolved(std::move(lines), tolerance);
}

} // namespace

std::optional<MeasuredMatch> matchMeasured(const SessionState& state, const IonResult& ion,
                                           char separator) {
    if (!state.measured) {
        return std::nullopt;
    }
    const measured::MatchTolerance tolerance = matchToleranceOf(state, separator);
    std::vector<measured::TheoreticalCluster> theory;
    for (const IonCluster& cluster : ion.clusters) {
        theory.push_back({cluster.mz, cluster.intensity});
    }
    const auto& summaries = state.measured->file.spectra();
    const bool profileData =
        state.measured->index < summaries.size() &&
        summaries[state.measured->index].representation == measured::Representation::Profile;
    const measured::Spectrum peaks = measured::peaksOf(state.measured->points, profileData);
    MeasuredMatch result;
    result.match = measured::matchClusters(theory, theoryLines(state, ion, tolerance, separator),
                                           ion.charge, peaks, tolerance);
    if (const auto range = measured::clusterRange(theory, ion.charge)) {
        result.scale = measured::displayScale(state.measured->points, *range);
    }
    result.basePeak = measured::basePeak(state.measured->points);
    result.chargeNotice = measured::chargeSpacingNotice(
        peaks, ion.mostAbundantMz, measured::toleranceAt(ion.mostAbundantMz, tolerance),
        ion.charge);
    return result;
}

std::string noPeakText(const measured::ClusterMatch& match, char separator) {
    if (match.measuredInRange) {
        return {};
    }
    return "the measured spectrum has no peak between " +
           text::fixedText(match.range.low, 18, 4, separator) + " and " +
           text::fixedText(match.range.high, 18, 4, separator);
}

plot::HighResolutionContent highResolutionContent(const SessionState& state, const IonResult& ion,
                                                  const profile::Profile* profile,
                                                  const std::optional<MeasuredMatch>& match,
                                                  char separator) {
    plot::HighResolutionContent content;
    content.separator = separator;
    content.title = ion.ion + "  " + ion.ionFormula;
    // Labels follow the main window's threshold, in tenths of a percent.
    const double threshold = state.settings.threshold.value() / 10.0;
    if (profile != nullptr) {
        for (const profile::ProfilePoint& point : profile->points) {
            content.profile.push_back({point.mz, point.intensity});
        }
        for (const profile::Peak& peak : profile->sticks) {
            content.sticks.push_back({peak.mz, peak.intensity});
        }
    } else {
        for (const IonCluster& cluster : ion.clusters) {
            content.sticks.push_back({cluster.mz, cluster.intensity});
        }
    }
    // The accurate clusters carry the labels: at high resolving power each is one peak.
    for (const IonCluster& cluster : ion.clusters) {
        if (cluster.intensity > threshold) {
            content.labelled.push_back({cluster.mz, cluster.intensity});
        }
    }
    if (state.measured && match && match->scale) {
        const measured::Spectrum& points = state.measured->points;
        for (std::size_t k = 0; k < points.size(); ++k) {
            content.measured.push_back({points.mz[k], points.intensity[k] * match->scale->factor});
        }
        const auto& summaries = state.measured->file.spectra();
        content.measuredAsSticks =
            state.measured->index < summaries.size() &&
            summaries[state.measured->index].representation != measured::Representation::Profile;
    }
    return content;
}

} // namespace orvane::session
