#pragma once

#include <optional>

#include "ion/measured_view.h"
#include "ion/molecule.h"
#include "ion/profile_boxes.h"
#include "session/session_state.h"

namespace orvane::session {

// The values of a run's state that the ion layer takes: views, no computation.

inline ions::Molecule moleculeOf(const SessionState& state) {
    return {state.tables, state.reader, state.isotopes, state.composition};
}

inline const ions::ProfileBoxes& profileBoxesOf(const SessionState& state) {
    return state.profileBoxes;
}

// The points of the measured spectrum shown, or nullptr; valid while it stays.
inline const measured::Spectrum* measuredPointsOf(const SessionState& state) {
    return state.measured ? &state.measured->points : nullptr;
}

// The measured spectrum shown, or none; valid while the state's spectrum stays.
inline std::optional<ions::MeasuredView> measuredViewOf(const SessionState& state) {
    if (!state.measured) {
        return std::nullopt;
    }
    const auto& summaries = state.measured->file.spectra();
    const bool profileData =
        state.measured->index < summaries.size() &&
        summaries[state.measured->index].representation == measured::Representation::Profile;
    return ions::MeasuredView{state.measured->points, profileData};
}

// The main window's label threshold in percent of the tallest (the setting is in tenths).
inline double labelThresholdOf(const SessionState& state) {
    return state.settings.threshold.value() / 10.0;
}

} // namespace orvane::session
