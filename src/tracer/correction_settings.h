#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane::tracer {

// How the resolving power changes with m/z: R ∝ (m/z)^-1/2 on an Orbitrap, (m/z)^-1 on an
// FT-ICR, constant on a TOF.
enum class Instrument { Orbitrap, FtIcr, Constant };

// A resolving power R (m/z over FWHM) at an m/z, and how it varies elsewhere.
struct HighResolution {
    double resolvingPower = 0;
    double atMz = 400;
    Instrument instrument = Instrument::Orbitrap;
};

// What a correction assumes about the tracer and the instrument.
struct CorrectionSettings {
    std::string tracers = "13C"; // one isotope, or two as "13C,15N"
    // "" for a perfect tracer; the abundances of the element's isotopes at labelled positions,
    // lightest first ("0.01,0.99"), the tracer isotope's share in percent with the rest of
    // the element's isotopes in their natural ratio ("99"), or the share of positions that
    // hold the tracer isotope with the others at natural abundance ("99+natural", AccuCor's
    // purity); for two tracers one such text each, separated by ';'
    std::string purity;
    // the tracer element's natural isotopes at unlabelled positions are corrected for; off,
    // those positions are taken to hold the lightest isotope (IsoCor without -n)
    bool correctTracerNaturalAbundance = true;
    std::optional<HighResolution> resolution; // nothing: whole mass steps (low resolution)
};

/// The instrument a name stands for: "orbitrap", "ftcr" (or "ft-icr"), "constant" (or
/// "tof"), in any case; nothing for another name.
std::optional<Instrument> instrumentNamed(std::string_view name);

/// The name instrumentNamed reads: "orbitrap", "ftcr", "constant".
std::string_view instrumentName(Instrument instrument);

/// IsoCor's correction limit in u for an ion of the mass `mass` (its lightest isotopes) and
/// charge `charge`: 1.66 FWHM at its m/z, times the charge, so that a variant whose mass is
/// within it of a tracer isotopologue is measured in that isotopologue's peak.
double correctionLimit(const HighResolution& resolution, double mass, int charge);

} // namespace orvane::tracer
