#include "cli/json_report.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "cli/ladder_report.h"
#include "ion/molecule_composition.h"

namespace orvane::cli {
namespace {

// Counts by symbol; whole counts as integers, others as they are.
nlohmann::ordered_json compositionObject(const std::vector<ions::SymbolAmount>& amounts) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const ions::SymbolAmount& amount : amounts) {
        if (amount.count == std::floor(amount.count) && std::fabs(amount.count) < 9e15) {
            object[amount.symbol] = static_cast<long long>(amount.count);
        } else {
            object[amount.symbol] = amount.count;
        }
    }
    return object;
}

nlohmann::ordered_json optionalNumber(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json();
}

nlohmann::ordered_json accurateObject(const session::SessionState& state,
                                      const ions::IonResult& ion, bool allClusters) {
    nlohmann::ordered_json clusters = nlohmann::ordered_json::array();
    for (const ions::IonCluster& cluster : ions::listedClusters(ion, allClusters)) {
        clusters.push_back(
            {{"mass", cluster.mass}, {"mz", cluster.mz}, {"intensity", cluster.intensity}});
    }
    nlohmann::ordered_json object{
        {"ion", ion.ion},
        {"ionCharge", ion.charge},
        {"ionFormula", ion.ionFormula},
        {"ionComposition", compositionObject(ions::ionComposition(state.tables, ion))},
        {"monoisotopicMass", ion.monoisotopicMass},
        {"averageMass", ion.averageMass},
        {"monoisotopicMz", ion.monoisotopicMz},
        {"averageMz", ion.averageMz},
        {"mostAbundantMz", ion.mostAbundantMz}};
    // impure labels put lighter isotopologues below the monoisotopic one
    if (ion.lightestMz != ion.monoisotopicMz) {
        object["lightestMz"] = ion.lightestMz;
    }
    object["clusters"] = clusters;
    return object;
}

nlohmann::ordered_json measuredObject(const MeasuredReport& report) {
    nlohmann::ordered_json clusters = nlohmann::ordered_json::array();
    for (const measured::ClusterComparison& cluster : report.match.clusters) {
        clusters.push_back({{"mz", cluster.mz},
                            {"theory", cluster.theoryPercent},
                            {"measured", cluster.measuredPercent},
                            {"measuredMz", optionalNumber(cluster.measuredMz)},
                            {"ppm", optionalNumber(cluster.ppm)}});
    }
    nlohmann::ordered_json object{
        {"file", report.file},
        {"spectrum", report.spectrum},
        {"points", report.points},
        {"basePeakMz", report.basePeakMz},
        {"basePeakIntensity", report.basePeakIntensity},
        {"rangeBasePeakMz", optionalNumber(report.rangeBasePeakMz)},
        {"rangeBasePeakIntensity", optionalNumber(report.rangeBasePeakIntensity)},
        {"score", report.noPeak.empty() ? nlohmann::ordered_json(report.match.score)
                                        : nlohmann::ordered_json()},
        {"unexplained", report.match.unexplained}};
    if (report.pattern) {
        object["isotopeScore"] = report.pattern->isotopeScore;
        object["cosine"] = report.pattern->cosine;
        object["massOffsetPpm"] = optionalNumber(report.pattern->offsetPpm);
    }
    object["clusters"] = clusters;
    if (!report.noPeak.empty()) {
        object["note"] = report.noPeak;
    }
    return object;
}

std::string dumped(const nlohmann::ordered_json& object) {
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json originObject(const JsonOrigin& origin) {
    return {{"line", origin.line}, {"input", origin.input}};
}

} // namespace

std::string jsonErrorRow(const JsonOrigin& origin, const std::string& error) {
    nlohmann::ordered_json object = originObject(origin);
    object["error"] = error;
    return dumped(object);
}

std::string jsonReport(const session::SessionState& state, const ions::IonResult* ion,
                       const MeasuredReport* measured, const JsonOrigin* origin, bool allClusters,
                       bool withPattern, const std::vector<ions::LadderRung>* ladder) {
    const calc::PatternState& pattern = state.pattern;
    const int charge = state.settings.charge.value();
    const double weight = state.composition.formulaWeight;
    nlohmann::ordered_json report =
        origin ? originObject(*origin) : nlohmann::ordered_json::object();
    report.update(nlohmann::ordered_json{
        {"formula", state.texts.formulaText},
        {"composition", compositionObject(ions::moleculeComposition(state.composition))},
        {"fw", weight},
        {"charge", charge},
        {"mz", charge != 0 ? nlohmann::ordered_json(weight / charge) : nlohmann::ordered_json()}});
    if (!state.labels.empty()) {
        nlohmann::ordered_json labels = nlohmann::ordered_json::array();
        for (const calc::LabelElement& label : state.labels) {
            labels.push_back({{"label", label.symbol},
                              {"massNumber", label.isotopes.front().massNumber},
                              {"purity", label.isotopes.front().probability},
                              {"count", label.count}});
        }
        report["labels"] = labels;
    }
    if (withPattern) {
        // the span the pattern files write, not the window's zeros around it
        nlohmann::ordered_json points = nlohmann::ordered_json::array();
        for (long long index = state.plotState.spanFirst; index <= state.plotState.spanLast;
             ++index) {
            points.push_back({index, pattern.at(index)});
        }
        report.update(nlohmann::ordered_json{
            {"n0", pattern.n0},
            {"w", pattern.w},
            {"centroid", pattern.centroid},
            {"span", {{"first", state.plotState.spanFirst}, {"last", state.plotState.spanLast}}},
            // the m/z range the picture's frame spans
            {"range", {{"xmin", state.plotState.xmin}, {"xmax", state.plotState.xmax}}},
            {"pattern", points}});
    }
    if (ion) {
        report["accurate"] = accurateObject(state, *ion, allClusters);
    }
    if (measured) {
        report["measured"] = measuredObject(*measured);
    }
    if (ladder) {
        report["ladder"] = ladderArray(*ladder);
    }
    return dumped(report);
}

} // namespace orvane::cli
