#include "profile/profile.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>

#include "text/error.h"
#include "text/number_text.h"

namespace orvane::profile {

namespace {

// The default range reaches this many FWHM beyond the outermost lines.
constexpr double rangeMarginFwhm = 4;

std::string number(double value) {
    return text::generalText(value, '.');
}

void checkSettings(const ProfileSettings& settings) {
    assert(settings.samplesPerFwhm >= 1);
    // Below 10 a peak is wider than a tenth of its m/z, and the profile runs into m/z
    // below 0.
    if (!(std::isfinite(settings.resolvingPower) && settings.resolvingPower >= minResolvingPower)) {
        throw text::Error("The resolving power must be a number of at least 10, not " +
                          number(settings.resolvingPower) + ".");
    }
    if (settings.range &&
        !(std::isfinite(settings.range->lower) && std::isfinite(settings.range->upper) &&
          settings.range->lower < settings.range->upper)) {
        throw text::Error("The m/z range must run from a lower to a higher number, not from " +
                          number(settings.range->lower) + " to " + number(settings.range->upper) +
                          ".");
    }
}

// Samples the lines, sorted by m/z, and scales points and sticks to a tallest of 100.
Profile sample(const std::vector<GaussianLine>& lines, const ProfileSettings& settings,
               std::stop_token stop) {
    assert(!lines.empty());
    const auto narrowest = std::min_element(
        lines.begin(), lines.end(),
        [](const GaussianLine& a, const GaussianLine& b) { return a.sigma < b.sigma; });
    const double step = narrowest->sigma * fwhmPerSigma / settings.samplesPerFwhm;
    const MzRange range = settings.range.value_or(
        MzRange{lines.front().mz - rangeMarginFwhm * fwhmPerSigma * lines.front().sigma,
                lines.back().mz + rangeMarginFwhm * fwhmPerSigma * lines.back().sigma});

    Profile profile;
    SampledSum sampled = sampleGaussianSum(lines, range, step, stop);
    profile.points = std::move(sampled.points);
    profile.step = sampled.step;
    double tallest = 0;
    for (const ProfilePoint& point : profile.points) {
        tallest = std::max(tallest, point.intensity);
    }
    // x / x is exactly 1, so the tallest point comes out exactly 100
    if (tallest > 0) {
        for (ProfilePoint& point : profile.points) {
            point.intensity = point.intensity / tallest * 100;
        }
    }
    double tallestStick = 0;
    for (const GaussianLine& line : lines) {
        tallestStick = std::max(tallestStick, line.area);
        profile.coverageReached += line.area;
    }
    profile.sticks.reserve(lines.size());
    for (const GaussianLine& line : lines) {
        profile.sticks.push_back(
            {line.mz, tallestStick > 0 ? line.area / tallestStick * 100 : 0.0});
    }
    return profile;
}

} // namespace

Profile profileOfFineStructure(const FineStructure& fine, const ProfileSettings& settings,
                               std::stop_token stop) {
    assert(!fine.tooMany && !fine.peaks.empty());
    checkSettings(settings);
    std::vector<GaussianLine> lines;
    lines.reserve(fine.peaks.size());
    for (const FinePeak& peak : fine.peaks) {
        const double sigma = std::abs(peak.mz) / settings.resolvingPower / fwhmPerSigma;
        lines.push_back({peak.mz, peak.probability, sigma});
    }
    Profile profile = sample(lines, settings, stop);
    profile.fromFineStructure = true;
    profile.finePeakCount = fine.peaks.size();
    profile.resolvingPower = settings.resolvingPower;
    profile.compositions = fine.compositions; // the sticks are the peaks, in their order
    return profile;
}

Profile profileOfClusters(const std::vector<AccurateCluster>& clusters, int charge,
                          const ProfileSettings& settings, std::stop_token stop) {
    checkSettings(settings);
    if (clusters.empty()) {
        throw text::Error("There are no accurate clusters to draw the profile from.");
    }
    const double z = chargeMagnitude(charge);
    std::vector<GaussianLine> lines;
    lines.reserve(clusters.size());
    for (std::size_t i = 0; i < clusters.size(); ++i) {
        const AccurateCluster& cluster = clusters[i];
        if (!(std::isfinite(cluster.mz) && cluster.mz > 0 && std::isfinite(cluster.probability) &&
              cluster.probability >= 0 && std::isfinite(cluster.variance) &&
              cluster.variance >= 0)) {
            throw text::Error("Cluster " + std::to_string(i + 1) + " (m/z " + number(cluster.mz) +
                              ", probability " + number(cluster.probability) + ", variance " +
                              number(cluster.variance) + ") is not a valid cluster.");
        }
        const double instrument = cluster.mz / settings.resolvingPower / fwhmPerSigma;
        const double sigma = std::sqrt(instrument * instrument + cluster.variance / (z * z));
        lines.push_back({cluster.mz, cluster.probability, sigma});
    }
    std::sort(lines.begin(), lines.end(),
              [](const GaussianLine& a, const GaussianLine& b) { return a.mz < b.mz; });
    return sample(lines, settings, stop);
}

namespace {

// True when even neighbouring clusters merge at the resolving power: the peak width at the
// tallest cluster is at least the clusters' spacing, 1/|z|. Then no fine structure can show,
// and the clusters (each with its own fine structure's variance) give the profile without
// the enumeration, which for a protein runs through millions of fine peaks.
bool clustersMerge(const ProfileInput& input, const ProfileSettings& settings) {
    if (input.clusters.empty()) {
        return false;
    }
    const auto byProbability = [](const AccurateCluster& a, const AccurateCluster& b) {
        return a.probability < b.probability;
    };
    const AccurateCluster& tallest =
        *std::max_element(input.clusters.begin(), input.clusters.end(), byProbability);
    return tallest.mz / settings.resolvingPower >= 1.0 / chargeMagnitude(input.charge);
}

} // namespace

Profile computeProfile(const ProfileInput& input, const ProfileSettings& settings,
                       std::stop_token stop) {
    checkSettings(settings);
    if (clustersMerge(input, settings)) {
        return profileOfClusters(input.clusters, input.charge, settings, stop);
    }
    const FineStructure fine =
        computeFineStructure(input.elements, input.charge, settings.coverage, settings.maxFinePeaks,
                             stop, settings.compositionLimit);
    if (!fine.tooMany) {
        return profileOfFineStructure(fine, settings, stop);
    }
    if (input.clusters.empty()) {
        throw text::Error("The fine structure has more than " +
                          std::to_string(settings.maxFinePeaks) +
                          " peaks, and there are no accurate clusters to draw the profile from "
                          "instead.");
    }
    return profileOfClusters(input.clusters, input.charge, settings, stop);
}

} // namespace orvane::profile
