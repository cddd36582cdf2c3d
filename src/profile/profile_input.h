#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "accurate/element_isotopes.h"

namespace orvane::profile {

// One isotope as the data files give it; the profile renormalises an element's
// probabilities to 1, and a mass number of 0 stands for the mass rounded.
using Isotope = accurate::Isotope;

// One element of the ion with its atom count.
struct ElementAtoms {
    std::string symbol; // only for the messages
    int atomCount = 0;  // elements with 0 atoms are left out
    std::vector<Isotope> isotopes;
};

// One nominal-mass cluster of the fine structure, computed accurately elsewhere; the
// profile stands on these when the fine structure has too many peaks.
struct AccurateCluster {
    double mz = 0;
    double probability = 0;
    double variance = 0; // mass variance of the cluster's own fine structure, u^2
};

// What a profile is computed from: the ion's composition and charge, and the clusters
// for the fallback (may be empty when the caller knows the fine structure is small).
struct ProfileInput {
    std::vector<ElementAtoms> elements;
    int charge = 1; // signed; 0 is the neutral molecule
    std::vector<AccurateCluster> clusters;
};

/// The divisor of masses for a charge: |z|, and 1 for the neutral molecule.
inline int chargeMagnitude(int charge) {
    return charge == 0 ? 1 : std::abs(charge);
}

} // namespace orvane::profile
