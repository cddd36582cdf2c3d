#pragma once

#include <vector>

#include "profile/profile_input.h"

namespace orvane::profile {

/// The elements with atoms, each with its isotopes of non-zero probability and those
/// probabilities scaled to add up to 1. Raises text::Error naming the element (and the
/// isotope, counted from 1) for a negative atom count, a mass or probability that is
/// negative or not finite, an element with atoms but no probability, and a composition
/// without atoms.
std::vector<ElementAtoms> normalisedElements(const std::vector<ElementAtoms>& elements);

} // namespace orvane::profile
