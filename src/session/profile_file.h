#pragma once

#include <string>

#include "profile/profile.h"
#include "session/ion_result.h"
#include "session/session_state.h"

namespace orvane::session {

/// Writes the profile of `ion` as orvane-calc's --profile and the high-resolution window's
/// "Save profile…" write it: two comment lines (the ion, its formula, the resolving power
/// and coverage, and what the profile was made from), then "m/z TAB intensity" lines with
/// enough digits to read each double back. Through the safe writer; raises text::Error as
/// it does.
void writeProfileFile(const std::string& path, const IonResult& ion, const SessionState& state,
                      const profile::Profile& profile);

} // namespace orvane::session
