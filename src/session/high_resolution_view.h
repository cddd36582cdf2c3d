#pragma once

#include <optional>
#include <string>

#include "measured/cluster_match.h"
#include "plot/profile_plot.h"
#include "profile/profile.h"
#include "session/ion_result.h"
#include "session/session_state.h"

namespace orvane::session {

/// The profile settings the high-resolution window's boxes hold: the resolving power (above
/// 0) and the coverage of the fine structure (above 0, at most 1). Raises text::Error naming
/// the box and its text when one is not such a number.
profile::ProfileSettings profileSettingsOf(const SessionState& state, char separator);

// The measured spectrum set against the ion's clusters.
struct MeasuredMatch {
    measured::ClusterMatch match;
    std::optional<measured::DisplayScale> scale; // the tallest point inside the ion's clusters
};

/// The comparison of the measured spectrum in `state` with the ion's clusters; nothing when
/// no measured spectrum is shown.
std::optional<MeasuredMatch> matchMeasured(const SessionState& state, const IonResult& ion);

/// What the high-resolution plot draws: the profile (when it has been computed; else the
/// clusters alone), the peaks above the main window's label threshold with their m/z, and
/// the measured spectrum scaled by the match.
plot::HighResolutionContent highResolutionContent(const SessionState& state, const IonResult& ion,
                                                  const profile::Profile* profile,
                                                  const std::optional<MeasuredMatch>& match,
                                                  char separator);

} // namespace orvane::session
