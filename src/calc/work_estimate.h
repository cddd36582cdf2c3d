#pragma once

#include <vector>

namespace orvane::calc {

// What one element's atom steps cost: how many, how far its isotopes reach from offset 0
// either way, how many of them there are, and the variance of the offset one atom adds.
struct ElementWork {
    long long atoms = 0;
    long long lowestOffset = 0;  // 0 or below
    long long highestOffset = 0; // 0 or above
    int isotopes = 0;            // with an abundance other than 0
    double variance = 0;         // of the offset, by the abundances
};

/// The terms the atom steps of `elements` (in order) will sum in a window of 2 * halfWidth
/// + 1 entries that starts with one entry in its middle, so that a progress bar can count
/// work rather than atoms: each step sums every entry its range can reach times the
/// isotopes, the range growing by the offsets, clipped by the window and by the tails that
/// fall below the smallest double (about 38.7 standard deviations of the sum out).
long long estimateTerms(const std::vector<ElementWork>& elements, long long halfWidth);

} // namespace orvane::calc
