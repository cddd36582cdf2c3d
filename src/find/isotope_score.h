#pragma once

#include <optional>
#include <vector>

#include "data/data_tables.h"
#include "find/formula_search.h"
#include "measured/cluster_match.h"
#include "measured/spectrum.h"

namespace orvane::find {

// The error model of the isotope-pattern score and the instrument it assumes.
struct IsotopeScoreSettings {
    double resolvingPower = 60'000; // fine peaks closer than m/z / R are one measured peak
    double coverage = 0.999;        // of the fine structure computed per candidate
    // The relative-intensity error of a peak of relative intensity I has the standard
    // deviation a + b I.
    double intensityA = 0.02;
    double intensityB = 0.08;
    // The standard deviation of an m/z reading in ppm of the target; without it half the
    // search's tolerance.
    std::optional<double> massSigmaPpm;
};

/// The candidate's theoretical peaks as the instrument shows them: its fine structure
/// merged where the resolving power does not separate it (its clusters when the fine
/// structure is too large), each line's intensity relative to the tallest (which is 1);
/// `clusters` receives the clusters, in % of the tallest. Raises text::Error as
/// computeAccurateMasses and readElementIsotopes do.
std::vector<measured::TheoreticalPeak>
candidateLines(const Candidate& candidate, const data::DataTables& tables,
               const IsotopeScoreSettings& settings,
               std::vector<measured::TheoreticalCluster>& clusters, char separator);

/// The smallest intensity above 0 among the peaks: what the instrument or the list's
/// cut-off still recorded; 0 without such a peak.
double spectrumFloor(const measured::Spectrum& peaks);

/// The log-likelihood of the measured peaks (m/z ascending) given the lines: the measured
/// peaks from the first cluster's window to at least four clusters above the target are
/// scaled so that the tallest is 1; each line, tallest first, takes the nearest unused
/// measured peak within one FWHM, and costs a Gaussian term in the m/z error (counted from the
/// tallest matched line's, which the target's mass term weighs; sigma the settings' or half
/// the tolerance at the target, at most 4.5 a peak) and in the intensity error (sigma a + b I);
/// a line with no peak costs as if measured at 0, unless it lies below the spectrum's floor
/// (spectrumFloor), where nothing was recorded; a measured peak no line explains costs as if
/// predicted at 0. 0 is a perfect match; lower is worse.
double isotopeScore(const std::vector<measured::TheoreticalPeak>& lines,
                    const std::vector<measured::TheoreticalCluster>& clusters, int charge,
                    double target, const MassTolerance& tolerance,
                    const measured::Spectrum& measuredPeaks, const IsotopeScoreSettings& settings);

/// Gives every candidate of the result its isotope score against the measured peaks, adds it
/// to the score and ranks the candidates again.
void scoreCandidates(FindResult& result, const FindQuery& query,
                     const measured::Spectrum& measuredPeaks, const IsotopeScoreSettings& settings,
                     const data::DataTables& tables, char separator);

} // namespace orvane::find
