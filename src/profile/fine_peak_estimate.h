#pragma once

#include <vector>

#include "profile/profile_input.h"

namespace orvane::profile {

/// How many isotopologues the smallest set of total probability `coverage` (0 < coverage
/// <= 1) holds, estimated before anything is enumerated: the volume of the coverage
/// ellipsoid of the normal approximation in isotope-count space, but never more than the
/// number of all isotopologues, and at least 1. The elements must be normalised
/// (normalisedElements). Minor isotopes expected less than a few times (2H, 17O, 36S
/// in a protein) make it low, elements of many even isotopes high.
double estimateFinePeakCount(const std::vector<ElementAtoms>& elements, double coverage);

} // namespace orvane::profile
