#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "sequence/sequence_composition.h"

namespace orvane::sequence {

// The average atomic mass of an element by symbol, nothing where it is not known.
using AverageMassLookup = std::function<std::optional<long double>(std::string_view symbol)>;

/// The averagine composition of a protein of average mass `mass` (Senko et al. 1995:
/// C4.9384 H7.7583 N1.3577 O1.4773 S0.0417 per 111.1254 u): C, N, O and S scaled to the
/// mass and rounded to whole atoms, then the hydrogens whose number brings the average
/// mass, by the given masses of C H N O S, closest to `mass`. Nothing where one of the
/// five masses is unknown.
std::optional<SequenceComposition> averagineComposition(long double mass,
                                                        const AverageMassLookup& averageMasses);

} // namespace orvane::sequence
