#pragma once

#include "measured/spectrum.h"

namespace orvane::measured {

/// Whether the points (m/z ascending) are a profile scan rather than a list of peaks: dense
/// and evenly spaced, as an instrument samples its signal. Most steps from one point to the
/// next are within a quarter of the step before (a sampling grid, which may widen slowly
/// with m/z and break at gaps), and the typical step is under 3e-5 of the m/z (a tenth of
/// a FWHM at R 3300), closer than the clusters of an ion of charge 30. Fewer than 16 points
/// are taken as peaks.
bool looksLikeProfile(const Spectrum& points);

} // namespace orvane::measured
