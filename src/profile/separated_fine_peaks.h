#pragma once

#include <cstddef>
#include <vector>

#include "profile/profile.h"

namespace orvane::profile {

// The sticks of a profile between two m/z, as indices [first, last).
struct StickSpan {
    std::size_t first = 0;
    std::size_t last = 0;
};

/// Whether the profile of an ion of `charge` shows fine peaks apart: it came from the fine
/// structure, and two neighbouring fine peaks of one nominal mass (less than half the
/// clusters' spacing 1/|z| apart) lie more than one FWHM (m/z / R) apart.
bool finePeaksSeparate(const Profile& profile, int charge);

/// The sticks, sorted by m/z, with m/z from `low` to `high` (both included).
StickSpan sticksWithin(const std::vector<Peak>& sticks, double low, double high);

} // namespace orvane::profile
