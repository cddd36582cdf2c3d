#pragma once

#include <vector>

#include "profile/profile_input.h"

namespace orvane::profile {

/// How many isotopologues the smallest set of total probability `coverage` (0 < coverage
/// <= 1) holds, estimated before anything is enumerated: the volume of the coverage
/// ellipsoid of the normal approximation in isotope-count space, but never more than the
/// number of all isotopologues, and at least 1. The elements must be normalised
/// (normalisedElements). Small elements whose minor isotopes are rare (a few atoms
/// of H or S) make it an underestimate, many even isotopes an overestimate.
double estimateFinePeakCount(const std::vector<ElementAtoms>& elements, double coverage);

} // namespace orvane::profile
