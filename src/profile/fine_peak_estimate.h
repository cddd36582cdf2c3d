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

/// The memory IsoSpec's layered enumeration takes before it reaches `coverage` when its
/// layers lie `layerStep` (> 0) apart in log probability: each element's marginal, every
/// combination of its isotopes out to the first layer boundary whose ellipsoid holds the
/// coverage, and at least one layer past the most probable. At a small coverage this is far
/// more than the peaks kept. The elements must be normalised.
double estimateEnumerationBytes(const std::vector<ElementAtoms>& elements, double coverage,
                                double layerStep);

} // namespace orvane::profile
