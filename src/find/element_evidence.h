#pragma once

#include <optional>
#include <string>

#include "find/formula_search.h"
#include "measured/spectrum.h"

namespace orvane::find {

// What the measured M+2 and M+4 say about the heavy elements, before any formula: Cl and
// Br put a strong M+2 below +2 u (37Cl +1.99705, 81Br +1.99795), S a weak one (34S
// +1.99580), while carbon and oxygen alone give a weak one above +2 u (13C2 +2.00671, 18O
// +2.00425). The ranking weighs this through the isotope score; this is the reading a
// chemist makes at a glance.
struct ElementEvidence {
    bool found = false;            // a measured peak at the target
    std::optional<double> m2Ratio; // intensity of M+2 over M
    std::optional<double> m2Shift; // M+2's centroid above M, in u (times the charge)
    std::optional<double> m4Ratio;
    std::string text; // the reading in words
};

/// Reads the measured peaks (m/z ascending) around `target` for an ion of `charge`: M is
/// the tallest peak within the tolerance of the target, M+2 and M+4 the peaks within
/// 0.02 u (over the charge) of 2 and 4 u above it.
ElementEvidence elementEvidence(const measured::Spectrum& peaks, double target, int charge,
                                const MassTolerance& tolerance);

} // namespace orvane::find
