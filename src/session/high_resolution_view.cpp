#include "session/high_resolution_view.h"

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

std::optional<MeasuredMatch> matchMeasured(const SessionState& state, const IonResult& ion) {
    if (!state.measured) {
        return std::nullopt;
    }
    std::vector<measured::TheoreticalCluster> theory;
    for (const IonCluster& cluster : ion.clusters) {
        theory.push_back({cluster.mz, cluster.intensity});
    }
    MeasuredMatch result;
    result.match = measured::matchClusters(theory, ion.charge, state.measured->points);
    if (const auto range = measured::clusterRange(theory, ion.charge)) {
        result.scale = measured::displayScale(state.measured->points, *range);
    }
    return result;
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
