#include "find/isotope_score.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "accurate/accurate_masses.h"
#include "accurate/element_isotopes.h"
#include "accurate/ion_mz.h"
#include "ion/ion_profile.h"
#include "text/error.h"

namespace orvane::find {

namespace {

// Fine structures larger than this stand on the clusters: a candidate list is scored in
// one go, and such ions are far beyond what any instrument separates.
constexpr std::size_t maxScoredFinePeaks = 20'000;

// The part of the tallest below which a theoretical line is left out.
constexpr double smallestLine = measured::matchedClusterMinimum / 100;

// Past this many standard deviations an m/z error says no more than a missing peak would.
constexpr double largestMassTerm = 4.5;

double gaussianTerm(double error, double sigma) {
    const double z = error / sigma;
    return -0.5 * z * z;
}

} // namespace

double spectrumFloor(const measured::Spectrum& peaks) {
    double floor = 0;
    for (const double intensity : peaks.intensity) {
        if (intensity > 0 && (floor == 0 || intensity < floor)) {
            floor = intensity;
        }
    }
    return floor;
}

IsotopeScoreSettings instrumentScoreSettings(const measured::InstrumentPreset* preset,
                                             std::optional<double> resolvingPower, double target) {
    IsotopeScoreSettings settings;
    if (preset != nullptr) {
        settings.resolvingPower = preset->resolvingPower;
        settings.intensityA = preset->intensityA;
        settings.intensityB = preset->intensityB;
        settings.massSigmaPpm = preset->massSigmaPpm;
    }
    settings.resolvingPower = resolvingPower.value_or(settings.resolvingPower);
    if (preset != nullptr) {
        settings.resolvingPower =
            measured::resolvingPowerAt(*preset, settings.resolvingPower, target);
    }
    return settings;
}

std::vector<measured::TheoreticalPeak>
candidateLines(const Candidate& candidate, const data::DataTables& tables,
               const IsotopeScoreSettings& settings,
               std::vector<measured::TheoreticalCluster>& clusters, char separator) {
    return ionLines(candidate.ionAtoms, candidate.charge, tables, settings, clusters, separator);
}

std::vector<measured::TheoreticalPeak> ionLines(const std::vector<accurate::AtomCount>& ionAtoms,
                                                int charge, const data::DataTables& tables,
                                                const IsotopeScoreSettings& settings,
                                                std::vector<measured::TheoreticalCluster>& clusters,
                                                char separator) {
    const accurate::AccurateMasses masses =
        accurate::computeAccurateMasses(ionAtoms, tables, separator);
    clusters.clear();
    for (const accurate::Cluster& cluster : masses.clusters) {
        clusters.push_back({accurate::mzOf(cluster.mass, charge), cluster.intensity});
    }
    profile::ProfileInput input = ions::profileInputOf(tables, ionAtoms, {}, charge, separator);
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        input.clusters.push_back({clusters[c].mz, masses.clusters[c].probability, 0});
    }
    // the lines the high-resolution match takes, where the instrument's profile peaks would
    // be centred
    std::vector<measured::TheoreticalPeak> lines = measured::mergeAsProfile(
        ions::fineLines(input, settings.coverage, maxScoredFinePeaks), settings.resolvingPower);
    double tallest = 0;
    for (const measured::TheoreticalPeak& line : lines) {
        tallest = std::max(tallest, line.intensity);
    }
    std::vector<measured::TheoreticalPeak> shown;
    for (measured::TheoreticalPeak line : lines) {
        line.intensity /= tallest;
        if (line.intensity >= smallestLine) {
            shown.push_back(line);
        }
    }
    return shown;
}

double isotopeScore(const std::vector<measured::TheoreticalPeak>& lines,
                    const std::vector<measured::TheoreticalCluster>& clusters, int charge,
                    double target, const MassTolerance& tolerance,
                    const measured::Spectrum& measuredPeaks, const IsotopeScoreSettings& settings,
                    std::optional<double>* offsetOut) {
    const std::optional<measured::MzRange> theoryRange = measured::clusterRange(clusters, charge);
    const double halfWidth = measured::clusterHalfWidth(charge);
    double low = target - halfWidth;
    double high = target + 9 * halfWidth; // four clusters above the target, whatever the theory
    if (theoryRange) {
        low = std::min(low, theoryRange->low);
        high = std::max(high, theoryRange->high);
    }
    // the measured peaks of the range, the tallest 1
    std::vector<std::size_t> inRange;
    double tallest = 0;
    for (std::size_t i = 0; i < measuredPeaks.size(); ++i) {
        if (measuredPeaks.mz[i] >= low && measuredPeaks.mz[i] < high &&
            measuredPeaks.intensity[i] > 0) {
            inRange.push_back(i);
            tallest = std::max(tallest, measuredPeaks.intensity[i]);
        }
    }
    const auto relative = [&](std::size_t i) { return measuredPeaks.intensity[i] / tallest; };
    // Below the spectrum's smallest peak nothing was recorded: the instrument's threshold or
    // the list's cut-off. A line that would stand there is not observed, not measured 0.
    const double floor = tallest > 0 ? spectrumFloor(measuredPeaks) / tallest : 0;
    const double massSigma =
        settings.massSigmaPpm
            ? target * *settings.massSigmaPpm * 1e-6
            : (tolerance.milliDaltons ? tolerance.value / 1000 : target * tolerance.value * 1e-6) /
                  2;
    const auto intensitySigma = [&](double intensity) {
        return settings.intensityA + settings.intensityB * intensity;
    };

    std::vector<std::size_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return lines[a].intensity > lines[b].intensity;
    });
    // Each line, tallest first, takes the nearest unused measured peak of its window.
    std::vector<char> used(inRange.size(), 0);
    std::vector<std::optional<std::size_t>> partner(lines.size());
    double score = 0;
    for (const std::size_t l : order) {
        const measured::TheoreticalPeak& line = lines[l];
        const double window =
            measured::toleranceAt(line.mz, {settings.resolvingPower, std::nullopt});
        std::optional<std::size_t> best;
        double bestDistance = 0;
        for (std::size_t k = 0; k < inRange.size(); ++k) {
            const double distance = std::abs(measuredPeaks.mz[inRange[k]] - line.mz);
            if (used[k] == 0 && distance <= window && (!best || distance < bestDistance)) {
                best = k;
                bestDistance = distance;
            }
        }
        if (best) {
            used[*best] = 1;
            partner[l] = best;
        }
    }
    // The calibration moves every peak of the cluster alike, and the mass term of the target
    // weighs it once: the isotope peaks' m/z errors count from the tallest matched line's.
    double offset = 0;
    for (const std::size_t l : order) {
        if (partner[l]) {
            offset = measuredPeaks.mz[inRange[*partner[l]]] - lines[l].mz;
            if (offsetOut != nullptr) {
                *offsetOut = offset;
            }
            break;
        }
    }
    for (const std::size_t l : order) {
        const measured::TheoreticalPeak& line = lines[l];
        if (!partner[l]) {
            if (line.intensity > floor) {
                score += gaussianTerm(line.intensity, intensitySigma(line.intensity));
            }
            continue;
        }
        const std::size_t k = inRange[*partner[l]];
        const double error = measuredPeaks.mz[k] - line.mz - offset;
        score += std::max(gaussianTerm(error, massSigma), -largestMassTerm);
        score += gaussianTerm(relative(k) - line.intensity, intensitySigma(line.intensity));
    }
    for (std::size_t k = 0; k < inRange.size(); ++k) {
        if (used[k] == 0) {
            score += gaussianTerm(relative(inRange[k]), intensitySigma(0));
        }
    }
    return score;
}

PatternScore scorePattern(const std::vector<accurate::AtomCount>& ionAtoms, int charge,
                          double target, const MassTolerance& tolerance,
                          const measured::Spectrum& measuredPeaks,
                          const IsotopeScoreSettings& settings, const data::DataTables& tables,
                          char separator) {
    std::vector<measured::TheoreticalCluster> clusters;
    const std::vector<measured::TheoreticalPeak> lines =
        ionLines(ionAtoms, charge, tables, settings, clusters, separator);
    PatternScore pattern;
    std::optional<double> offset;
    pattern.isotopeScore =
        isotopeScore(lines, clusters, charge, target, tolerance, measuredPeaks, settings, &offset);
    const measured::ClusterMatch match = measured::matchClusters(
        clusters, lines, charge, measuredPeaks, {settings.resolvingPower, std::nullopt});
    pattern.cosine = match.score;
    pattern.unexplained = match.unexplained;
    if (offset && target > 0) {
        pattern.offsetPpm = *offset / target * 1e6;
    }
    return pattern;
}

double measuredTarget(const measured::Spectrum& measuredPeaks, double monoisotopicMz,
                      double resolvingPower) {
    const std::optional<std::size_t> tallest = measured::tallestNear(
        measuredPeaks, monoisotopicMz,
        measured::toleranceAt(monoisotopicMz, {resolvingPower, std::nullopt}));
    return tallest ? measuredPeaks.mz[*tallest] : monoisotopicMz;
}

void scoreCandidates(FindResult& result, const FindQuery& query,
                     const measured::Spectrum& measuredPeaks, const IsotopeScoreSettings& settings,
                     const data::DataTables& tables, char separator) {
    if (!query.withIonAtoms && !result.candidates.empty()) {
        // a caller's mistake: without their atoms the candidates would all score as nothing
        throw std::invalid_argument("the candidates were found without their ion atoms");
    }
    for (Candidate& candidate : result.candidates) {
        const PatternScore pattern =
            scorePattern(candidate.ionAtoms, candidate.charge, query.mz, query.tolerance,
                         measuredPeaks, settings, tables, separator);
        candidate.isotopeScore = pattern.isotopeScore;
        candidate.cosine = pattern.cosine;
        candidate.offsetPpm = pattern.offsetPpm;
        candidate.score = massScore(query.tolerance, query.mz, candidate.mz) + candidate.prior +
                          *candidate.isotopeScore;
    }
    rankCandidates(result.candidates);
}

} // namespace orvane::find
