#pragma once

#include <optional>

#include "measured/spectrum.h"

namespace orvane::measured {

/// The resolving power a profile scan (points m/z ascending) shows at its tallest peak
/// within `window` of `mz`: that peak's m/z over its full width at half height, the half
/// heights found between neighbouring points by straight lines. Nothing where no point
/// lies there, or the peak does not fall to half its height on both sides with at least
/// two points above half (a centroid list, a cut-off peak).
std::optional<double> profileResolvingPower(const Spectrum& points, double mz, double window);

} // namespace orvane::measured
