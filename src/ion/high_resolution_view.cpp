#include "ion/high_resolution_view.h"

#include <algorithm>

#include "measured/cluster_spacing.h"
#include "profile/fine_structure.h"
#include "ion/ion_profile.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::ions {

namespace {

double boxValue(const std::string& text, const char* box, char separator) {
    const std::optional<double> value = text::tryParseReal(text, separator);
    if (!value) {
        throw text::Error(std::string(box) + " '" + text + "' is not a number.");
    }
    return *value;
}

} // namespace

profile::ProfileSettings profileSettingsOf(const ProfileBoxes& boxes, char separator) {
    profile::ProfileSettings settings;
    settings.resolvingPower = boxValue(boxes.resolvingPowerText, "Resolving power", separator);
    settings.coverage = boxValue(boxes.coverageText, "Coverage", separator);
    if (!(settings.resolvingPower > 0)) {
        throw text::Error("Resolving power '" + boxes.resolvingPowerText + "' must be above 0.");
    }
    if (!(settings.coverage > 0 && settings.coverage <= 1)) {
        throw text::Error("Coverage '" + boxes.coverageText + "' must be above 0 and at most 1.");
    }
    return settings;
}

measured::MatchTolerance matchToleranceOf(const ProfileBoxes& boxes, char separator) {
    measured::MatchTolerance tolerance;
    tolerance.resolvingPower = profileSettingsOf(boxes, separator).resolvingPower;
    if (boxes.toleranceText.find_first_not_of(" \t") != std::string::npos) {
        const double ppm = boxValue(boxes.toleranceText, "Tolerance", separator);
        if (!(ppm > 0)) {
            throw text::Error("Tolerance '" + boxes.toleranceText + "' must be above 0.");
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
std::vector<measured::TheoreticalPeak> theoryLines(const data::DataTables& tables,
                                                   const ProfileBoxes& boxes, const IonResult& ion,
                                                   const measured::MatchTolerance& tolerance,
                                                   char separator) {
    const profile::ProfileSettings settings = profileSettingsOf(boxes, separator);
    return measured::mergeUnresolved(
        fineLines(profileInputFor(tables, ion, separator), settings.coverage, maxMatchedFinePeaks),
        tolerance);
}

} // namespace

std::optional<MeasuredMatch> matchMeasured(const data::DataTables& tables,
                                           const ProfileBoxes& boxes, const MeasuredView* measured,
                                           const IonResult& ion, char separator) {
    if (measured == nullptr) {
        return std::nullopt;
    }
    const measured::MatchTolerance tolerance = matchToleranceOf(boxes, separator);
    std::vector<measured::TheoreticalCluster> theory;
    for (const IonCluster& cluster : ion.clusters) {
        theory.push_back({cluster.mz, cluster.intensity});
    }
    const measured::Spectrum peaks = measured::peaksOf(measured->points, measured->profileData);
    MeasuredMatch result;
    result.match =
        measured::matchClusters(theory, theoryLines(tables, boxes, ion, tolerance, separator),
                                ion.charge, peaks, tolerance);
    if (const auto range = measured::clusterRange(theory, ion.charge)) {
        result.scale = measured::displayScale(measured->points, *range);
    }
    result.basePeak = measured::basePeak(measured->points);
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

plot::HighResolutionContent
highResolutionContent(double labelThreshold, const MeasuredView* measured, const IonResult& ion,
                      const profile::Profile* profile, const std::optional<MeasuredMatch>& match,
                      char separator) {
    plot::HighResolutionContent content;
    content.separator = separator;
    content.title = ion.ion + "  " + ion.ionFormula;
    const double threshold = labelThreshold;
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
    if (measured != nullptr && match && match->scale) {
        const measured::Spectrum& points = measured->points;
        for (std::size_t k = 0; k < points.size(); ++k) {
            content.measured.push_back({points.mz[k], points.intensity[k] * match->scale->factor});
        }
        content.measuredAsSticks = !measured->profileData;
    }
    return content;
}

plot::HighResolutionContent measuredAloneContent(const MeasuredView& measured, char separator) {
    plot::HighResolutionContent content;
    content.separator = separator;
    if (const std::optional<measured::DisplayScale> scale = measured::basePeak(measured.points)) {
        for (std::size_t k = 0; k < measured.points.size(); ++k) {
            content.measured.push_back(
                {measured.points.mz[k], measured.points.intensity[k] * scale->factor});
        }
    }
    content.measuredAsSticks = !measured.profileData;
    return content;
}

} // namespace orvane::ions
