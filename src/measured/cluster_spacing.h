#pragma once

#include <optional>
#include <string>

#include "measured/spectrum.h"

namespace orvane::measured {

/// The charge the measured isotope spacing shows around `mz` (peaks m/z ascending): the
/// tallest peak within `window` of `mz` is M, and the charge is the largest z of 1 to 6
/// for which a peak of at least 5 % of M stands 1.00336 / z above it (within `window`);
/// nothing when no such peak follows M.
std::optional<int> measuredCharge(const Spectrum& peaks, double mz, double window);

/// "" when the measured spacing shows the ion's charge or none; else the notice that the
/// spectrum shows another: "the measured peaks are 0.5 apart: charge 2?".
std::string chargeSpacingNotice(const Spectrum& peaks, double mz, double window, int ionCharge);

} // namespace orvane::measured
