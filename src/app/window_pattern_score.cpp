#include "app/window_pattern_score.h"

#include "measured/cluster_match.h"
#include "measured/instrument_preset.h"
#include "ion/high_resolution_view.h"
#include "session/ion_inputs.h"
#include "text/error.h"
#include "text/number_text.h"

namespace orvane::app {

namespace {

measured::Spectrum shownPeaks(const session::SessionState& state) {
    const auto& summaries = state.measured->file.spectra();
    const bool profileData =
        state.measured->index < summaries.size() &&
        summaries[state.measured->index].representation == measured::Representation::Profile;
    return measured::peaksOf(state.measured->points, profileData);
}

} // namespace

find::IsotopeScoreSettings windowScoreSettings(const session::SessionState& state, double target,
                                               char separator) {
    const double resolvingPower =
        ions::profileSettingsOf(session::profileBoxesOf(state), separator).resolvingPower;
    return find::instrumentScoreSettings(measured::findInstrumentPreset(state.instrument),
                                         resolvingPower, target);
}

find::MassTolerance windowScoreTolerance(const session::SessionState& state, char separator) {
    find::MassTolerance tolerance;
    if (const std::optional<double> ppm =
            ions::matchToleranceOf(session::profileBoxesOf(state), separator).ppm) {
        tolerance.value = *ppm;
    }
    return tolerance;
}

std::optional<find::PatternScore> windowPatternScore(const session::SessionState& state,
                                                     const ions::IonResult& ion, char separator) {
    if (!state.measured || !ion.ionLabels.empty() || ion.ionAtoms.empty()) {
        return std::nullopt;
    }
    try {
        const measured::Spectrum peaks = shownPeaks(state);
        const double target = find::measuredTarget(
            peaks, ion.monoisotopicMz,
            windowScoreSettings(state, ion.monoisotopicMz, separator).resolvingPower);
        return find::scorePattern(
            ion.ionAtoms, ion.charge, target, windowScoreTolerance(state, separator), peaks,
            windowScoreSettings(state, target, separator), state.tables, separator);
    } catch (const text::Error&) {
        return std::nullopt; // the boxes and the match say what is wrong
    }
}

std::string patternScoreText(const find::PatternScore& score, char separator) {
    std::string text = "isotope score " + text::fixedText(score.isotopeScore, 18, 3, separator) +
                       "   cosine " + text::fixedText(score.cosine, 18, 6, separator);
    if (score.offsetPpm) {
        text += "   offset " + std::string(*score.offsetPpm >= 0 ? "+" : "") +
                text::fixedText(*score.offsetPpm, 18, 1, separator) + " ppm";
    }
    return text;
}

} // namespace orvane::app
