#pragma once

#include <vector>

namespace orvane::data {

// One isotope an atom can be: an element's natural isotope as the data files give it, or a
// labelled position's isotope with the label's purity.
struct Isotope {
    long long massNumber = 0; // 0 where only the mass is known: the mass rounded stands for it
    double mass = 0;          // exact, in u
    double probability = 0; // of one atom; a sum of an element's below 1 is renormalised where read
};

/// The mean mass of one atom, the sum of probability times mass in extended precision.
inline long double meanMass(const std::vector<Isotope>& isotopes) {
    long double mean = 0;
    for (const Isotope& isotope : isotopes) {
        mean += static_cast<long double>(isotope.probability) * isotope.mass;
    }
    return mean;
}

} // namespace orvane::data
