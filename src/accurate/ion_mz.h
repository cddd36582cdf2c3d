#pragma once

namespace orvane::accurate {

/// The rest mass of the electron in u (CODATA 2018): the one every m/z of the program takes.
inline constexpr double electronMass = 0.000548579909065;

/// The m/z of an ion of the given mass (of its atoms) and signed charge: z electrons fewer
/// for a cation, |z| more for an anion, over |z|; for charge 0 the neutral mass itself.
double mzOf(double mass, int signedCharge);

} // namespace orvane::accurate
