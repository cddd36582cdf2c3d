#include "cli/json_report.h"

namespace orvane::cli {
namespace {

nlohmann::ordered_json accurateObject(const session::IonResult& ion) {
    nlohmann::ordered_json clusters = nlohmann::ordered_json::array();
    for (const session::IonCluster& cluster : ion.clusters) {
        clusters.push_back(
            {{"mass", cluster.mass}, {"mz", cluster.mz}, {"intensity", cluster.intensity}});
    }
    return {{"ion", ion.ion},
            {"ionCharge", ion.charge},
            {"ionFormula", ion.ionFormula},
            {"monoisotopicMass", ion.monoisotopicMass},
            {"averageMass", ion.averageMass},
            {"monoisotopicMz", ion.monoisotopicMz},
            {"averageMz", ion.averageMz},
            {"mostAbundantMz", ion.mostAbundantMz},
            {"clusters", clusters}};
}

nlohmann::ordered_json measuredObject(const MeasuredReport& report) {
    nlohmann::ordered_json clusters = nlohmann::ordered_json::array();
    for (const measured::ClusterComparison& cluster : report.match.clusters) {
        clusters.push_back({{"mz", cluster.mz},
                            {"theory", cluster.theoryPercent},
                            {"measured", cluster.measuredPercent}});
    }
    return {{"file", report.file},
            {"spectrum", report.spectrum},
            {"points", report.points},
            {"basePeakMz", report.basePeakMz},
            {"basePeakIntensity", report.basePeakIntensity},
            {"score", report.match.score},
            {"clusters", clusters}};
}

} // namespace

nlohmann::ordered_json jsonReport(const session::SessionState& state, const session::IonResult* ion,
                                  const MeasuredReport* measured) {
    const calc::PatternState& pattern = state.pattern;
    const int charge = state.settings.charge.value();
    const double weight = state.composition.formulaWeight;
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    const long long first = static_cast<long long>(pattern.n0) - pattern.w;
    const long long last = static_cast<long long>(pattern.n0) + pattern.w;
    for (long long index = first; index <= last; ++index) {
        points.push_back({index, pattern.at(index)});
    }
    nlohmann::ordered_json report = {
        {"formula", state.texts.formulaText},
        {"fw", weight},
        {"charge", charge},
        {"mz", charge != 0 ? nlohmann::ordered_json(weight / charge) : nlohmann::ordered_json()},
        {"n0", pattern.n0},
        {"w", pattern.w},
        {"centroid", pattern.centroid},
        {"span", {{"first", state.plotState.spanFirst}, {"last", state.plotState.spanLast}}},
        {"pattern", points}};
    if (ion) {
        report["accurate"] = accurateObject(*ion);
    }
    if (measured) {
        report["measured"] = measuredObject(*measured);
    }
    return report;
}

} // namespace orvane::cli
