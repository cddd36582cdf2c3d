#pragma once

#include <optional>
#include <vector>

#include "data/data_tables.h"
#include "find/formula_search.h"
#include "measured/cluster_match.h"
#include "measured/instrument_preset.h"
#include "measured/spectrum.h"

namespace orvane::find {

// The error model of the isotope-pattern score and the instrument it assumes.
struct IsotopeScoreSettings {
    double resolvingPower = 60'000; // fine peaks closer than m/z / R are one measured peak
    double coverage = 0.99999;      // of the fine structure computed per candidate
    // The relative-intensity error of a peak of relative intensity I has the standard
    // deviation a + b I.
    double intensityA = 0.02;
    double intensityB = 0.08;
    // The standard deviation of an m/z reading in ppm of the target; without it half the
    // search's tolerance.
    std::optional<double> massSigmaPpm;
};

/// The score's settings for an instrument of the preset's kind (none: the defaults above)
/// at the target m/z: the preset's errors, and its resolving power, or `resolvingPower`
/// where given (for a preset, the power at the preset's reference m/z), along the preset's
/// curve to the target.
IsotopeScoreSettings instrumentScoreSettings(const measured::InstrumentPreset* preset,
                                             std::optional<double> resolvingPower, double target);

/// The candidate's theoretical peaks as the instrument shows them: its fine structure
/// merged where the resolving power does not separate it (its clusters when the fine
/// structure is too large), each line's intensity relative to the tallest (which is 1);
/// `clusters` receives the clusters, in % of the tallest. Raises text::Error as
/// computeAccurateMasses and readElementIsotopes do.
std::vector<measured::TheoreticalPeak>
candidateLines(const Candidate& candidate, const data::DataTables& tables,
               const IsotopeScoreSettings& settings,
               std::vector<measured::TheoreticalCluster>& clusters, char separator);

/// candidateLines of an ion given by its atoms (by column, above 0) and signed charge.
std::vector<measured::TheoreticalPeak> ionLines(const std::vector<accurate::AtomCount>& ionAtoms,
                                                int charge, const data::DataTables& tables,
                                                const IsotopeScoreSettings& settings,
                                                std::vector<measured::TheoreticalCluster>& clusters,
                                                char separator);

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
/// `offset`, where given, receives the tallest matched line's m/z error (measured less
/// theory; nothing when no line is matched).
double isotopeScore(const std::vector<measured::TheoreticalPeak>& lines,
                    const std::vector<measured::TheoreticalCluster>& clusters, int charge,
                    double target, const MassTolerance& tolerance,
                    const measured::Spectrum& measuredPeaks, const IsotopeScoreSettings& settings,
                    std::optional<double>* offset = nullptr);

// The two measures of one ion's pattern against the measured peaks, as every report and
// window shows them.
struct PatternScore {
    double isotopeScore = 0;         // the log-likelihood of isotopeScore: 0 perfect, lower worse
    double cosine = 0;               // measured::matchClusters' cosine over the same lines, 0 to 1
    double unexplained = 0;          // its share of measured intensity no line explains
    std::optional<double> offsetPpm; // the cluster's common m/z offset, measured less theory
};

/// Both measures of the ion (its atoms by column, above 0, and signed charge) against the
/// measured peaks, the target m/z being the measured peak the search is asked about: its
/// lines (ionLines), their isotopeScore and the cosine of the match at one FWHM of the
/// settings' resolving power. The search scores each candidate so, and a single run and the
/// windows score a formula so, so that one formula has one score wherever it is asked.
PatternScore scorePattern(const std::vector<accurate::AtomCount>& ionAtoms, int charge,
                          double target, const MassTolerance& tolerance,
                          const measured::Spectrum& measuredPeaks,
                          const IsotopeScoreSettings& settings, const data::DataTables& tables,
                          char separator);

/// The target scorePattern takes for an ion measured without a search: the m/z of the
/// tallest measured peak within one FWHM (at `resolvingPower`) of its monoisotopic m/z,
/// the peak a user would ask the search about; the monoisotopic m/z where there is none.
double measuredTarget(const measured::Spectrum& measuredPeaks, double monoisotopicMz,
                      double resolvingPower);

/// Gives every candidate of the result its isotope score against the measured peaks, adds it
/// to the score and ranks the candidates again.
void scoreCandidates(FindResult& result, const FindQuery& query,
                     const measured::Spectrum& measuredPeaks, const IsotopeScoreSettings& settings,
                     const data::DataTables& tables, char separator);

} // namespace orvane::find
