#pragma once

#include <vector>

#include "accurate/element_isotopes.h"

namespace orvane::tracer {

// `count` atoms that each hold one of `isotopes` (lightest first) with its probability:
// an element at natural abundance, a label's positions, or a tracer's labelled positions.
struct AtomBlock {
    std::vector<accurate::Isotope> isotopes;
    long long count = 0;
};

// One isotopic variant of a set of atoms: its exact mass, its mass in whole steps above
// the lightest variant, and its probability.
struct Variant {
    double mass = 0;
    long long steps = 0;
    double probability = 0;
};

/// The probabilities of the blocks' atoms by whole mass steps above the lightest variant
/// (index 0), for low resolution.
std::vector<double> stepDistribution(const std::vector<AtomBlock>& blocks);

/// Every isotopic variant of the blocks' atoms (those under 1e-16 dropped), variants whose
/// masses agree within 1e-9 u merged, ordered by mass: the fine structure that a resolving
/// power sorts into peaks.
std::vector<Variant> fineVariants(const std::vector<AtomBlock>& blocks);

/// The variants of `a` and `b` together, merged and ordered as fineVariants gives them.
std::vector<Variant> combined(const std::vector<Variant>& a, const std::vector<Variant>& b);

/// The mass of the blocks' atoms all at their lightest isotope.
double lightestMass(const std::vector<AtomBlock>& blocks);

} // namespace orvane::tracer
