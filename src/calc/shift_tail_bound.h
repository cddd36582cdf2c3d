#pragma once

#include <array>
#include <cstddef>

#include "calc/pattern_convolution.h"

namespace orvane::calc {

// How far above N0 a pattern still holds more than a given share of itself, when every
// isotope lies at an offset of 0 or more. The shift X (the sum of the atoms' offsets, each
// atom drawn by the abundances) has P(X > j) <= exp(-t(j + 1)) * prod_e M_e(t)^n_e for every
// t > 0 (Chernoff's bound, M_e the moment generating function of one atom of element e);
// it is taken at the best of a fixed set of t. Unlike a count of standard deviations it
// follows the long thin tail of a few heavy isotopes as closely as the wide one of a
// protein.
class ShiftTailBound {
public:
    static constexpr std::size_t pointCount = 28;

    // log M(t) of one atom at every point t of the set; `bounded` is false when an offset or
    // abundance is negative or no abundance is above 0, where no bound is given.
    struct AtomLogs {
        bool bounded = false;
        std::array<double, pointCount> logs{};
        double highest = 0; // the highest offset with an abundance
    };
    static AtomLogs atomLogs(const std::array<IsotopeSlot, PatternConvolution::slotCount>& slots);

    void add(const AtomLogs& atom, double atoms);

    /// The smallest j >= 0 with P(X > j) at most exp(logShare) by the bound, and never
    /// above the highest shift the atoms can reach.
    long long shiftAbove(double logShare) const;

private:
    std::array<double, pointCount> m_logs{};
    double m_reach = 0;
};

} // namespace orvane::calc
