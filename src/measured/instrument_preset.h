#pragma once

#include <array>
#include <string_view>

namespace orvane::measured {

// What a kind of mass analyser does to an isotope pattern, as the formula search and the
// match assume it: how its resolving power falls with m/z, how far its m/z readings stray
// and how far its relative intensities do.
struct InstrumentPreset {
    std::string_view name;     // as the window lists it and --instrument takes it
    double resolvingPower = 0; // at referenceMz
    double referenceMz = 0;    // where the maker states the resolving power
    double exponent = 0;       // R falls as (referenceMz / m/z)^exponent
    double massSigmaPpm = 0;   // the standard deviation of an m/z reading, in ppm
    double intensityA = 0;     // the relative-intensity error of a peak of relative
    double intensityB = 0;     // intensity I has the standard deviation a + b I
};

// Orbitrap (R ~ 1/sqrt(m/z), stated at m/z 400 as the Orbitrap XL, Velos and Elite state it;
// for an instrument that states it at m/z 200, R there / sqrt 2), FT-ICR (R ~ 1/(m/z), at
// m/z 400), QTOF and IT-TOF (R nearly constant). The intensity errors are the spread of the M+1 and
// M+2 shares measured on such instruments: an Orbitrap's are within half a point, a TOF's detector
// and ion statistics several points.
extern const std::array<InstrumentPreset, 4> instrumentPresets;

/// The preset of that name, compared without case and without blanks, '-' and '_'
/// ("orbitrap", "FT-ICR", "qtof", "IT-TOF", "ittof"); nullptr for none.
const InstrumentPreset* findInstrumentPreset(std::string_view name);

/// The resolving power at `mz` of an instrument of the preset's kind that reaches
/// `atReference` at the preset's reference m/z.
double resolvingPowerAt(const InstrumentPreset& preset, double atReference, double mz);

} // namespace orvane::measured
