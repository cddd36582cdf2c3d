#pragma once

#include <optional>
#include <string>

#include "find/formula_search.h"
#include "find/isotope_score.h"
#include "ion/ion_result.h"
#include "session/session_state.h"

namespace orvane::app {

/// The isotope score's settings both windows take from the session at the target m/z: the
/// instrument preset chosen in the high-resolution window and its resolving-power box (for
/// a preset, the power at the preset's reference m/z). Raises text::Error for a box that
/// holds no resolving power.
find::IsotopeScoreSettings windowScoreSettings(const session::SessionState& state, double target,
                                               char separator);

/// The search's tolerance for a formula shown alone: the tolerance box's ppm, else the
/// finder's default 5 ppm.
find::MassTolerance windowScoreTolerance(const session::SessionState& state, char separator);

/// The ion's pattern scored as the search scores a candidate against the measured spectrum
/// shown; nothing without a measured spectrum, for a labelled ion or where the boxes or the
/// data refuse it.
std::optional<find::PatternScore> windowPatternScore(const session::SessionState& state,
                                                     const ions::IonResult& ion, char separator);

/// "isotope score -0.113   cosine 0.999954   offset +1.0 ppm", as the windows show a score.
std::string patternScoreText(const find::PatternScore& score, char separator);

} // namespace orvane::app
