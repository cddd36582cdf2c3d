#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "profile/profile_input.h"

namespace orvane::profile {

// One isotope the fine peaks count atoms of.
struct IsotopeSlot {
    std::string symbol;
    long long massNumber = 0;
    bool reference = false; // the element's most abundant isotope, left out of the text
};

// What each fine peak is made of: per peak the number of atoms of every isotope slot, in
// the order of the slots (the elements with atoms, each with its isotopes of non-zero
// probability, as normalisedElements keeps them).
struct FineCompositions {
    std::vector<IsotopeSlot> isotopes; // not "slots": Qt takes that word
    std::vector<int> counts;           // isotopes.size() per peak, in the peaks' order

    /// The number of peaks whose composition is held.
    std::size_t peakCount() const { return isotopes.empty() ? 0 : counts.size() / isotopes.size(); }
    /// The isotopes of peak `peak` other than each element's most abundant, with their atom
    /// counts, as "13C1 15N1" (element order of the ion, lighter isotope first); "" for the
    /// peak of only most abundant isotopes.
    std::string text(std::size_t peak) const;
};

/// The slots of normalised elements: each isotope with its mass number (the mass rounded
/// where the data gave none) and whether it is the element's most abundant (of equally
/// abundant ones the lighter).
std::vector<IsotopeSlot> isotopeSlotsOf(const std::vector<ElementAtoms>& normalised);

} // namespace orvane::profile
