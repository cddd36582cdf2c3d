#pragma once

#include <cstddef>
#include <stop_token>
#include <vector>

#include "profile/fine_composition.h"
#include "profile/profile_input.h"

namespace orvane::profile {

// One isotopologue of the ion.
struct FinePeak {
    double mz = 0;
    double probability = 0;
};

// The isotopologues of an ion down to a coverage, or the finding that there are too many.
struct FineStructure {
    std::vector<FinePeak> peaks;   // sorted by m/z; empty when tooMany
    double coverage = 0;           // the sum of the peaks' probabilities
    bool tooMany = false;          // the set would hold more than the limit of peaks
    FineCompositions compositions; // of each peak, when asked for and not over its limit
};

/// The limit of fine peaks above which a profile stands on the clusters instead.
inline constexpr std::size_t defaultMaxFinePeaks = 1'000'000;

/// The smallest set of isotopologues whose probabilities add up to at least `coverage`
/// (IsoSpec's total-probability generator), as m/z for `charge` and probability, sorted
/// by m/z; for coverage 1 every isotopologue. When the set would hold more than
/// `maxPeaks` peaks, whether the estimate before the enumeration says so or the
/// enumeration finds it, the result is tooMany and the enumeration stops early; so it is
/// when IsoSpec would build more than 256 bytes of marginals per peak allowed before it
/// reaches the coverage (estimateEnumerationBytes), as at small coverages of large ions.
/// Raises text::Error for a coverage outside (0, 1] and for invalid elements
/// (normalisedElements), Cancelled when `stop` is requested (checked every few thousand
/// isotopologues and between IsoSpec's layers). With a `compositionLimit` above 0 the
/// result also holds each peak's isotope counts, unless the enumeration visits more than
/// that many isotopologues (then none, to bound the memory).
FineStructure computeFineStructure(const std::vector<ElementAtoms>& elements, int charge,
                                   double coverage, std::size_t maxPeaks = defaultMaxFinePeaks,
                                   std::stop_token stop = {}, std::size_t compositionLimit = 0);

} // namespace orvane::profile
