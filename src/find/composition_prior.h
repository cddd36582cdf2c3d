#pragma once

#include <vector>

#include "find/formula_rules.h"

namespace orvane::find {

/// The prior of a neutral formula of the given monoisotopic mass: the natural logarithm of
/// how much rarer its counts of N, P, S, F, Cl, Br, I and Si are, each on its own, among
/// the unique formulas of known metabolites of that mass band (the Human Metabolome
/// Database 4.0) than the commonest counts, plus what any other element beside C, H and O
/// costs. 0 for the commonest composition, negative for rarer ones: an element that an
/// isotope pattern cannot show, such as phosphorus, costs what its rarity says.
double compositionPrior(const std::vector<AtomTally>& atoms, double neutralMass);

} // namespace orvane::find
