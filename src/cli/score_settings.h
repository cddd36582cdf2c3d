#pragma once

#include "cli/command_options.h"
#include "find/formula_search.h"
#include "find/isotope_score.h"
#include "measured/spectrum.h"

#include <optional>

namespace orvane::cli {

/// The search's tolerance: --mda, else --ppm, else 5 ppm.
find::MassTolerance toleranceOf(const CommandLine& commandLine);

/// The isotope score's instrument and error model at the target m/z: the --instrument
/// preset's (none: R 60000 and the default errors), its resolving power --resolution where
/// given (for a preset, at the preset's reference m/z), --intensity-sigma over the
/// preset's. Raises text::Error for a --resolution that is not a number above 0.
find::IsotopeScoreSettings scoreSettingsOf(const CommandLine& commandLine, double target);

/// scoreSettingsOf, but where the measured spectrum is a profile scan (`profilePoints`,
/// nothing for peaks) and no --resolution is given, with the resolving power the profile
/// shows at the target (measured::profileResolvingPower), which `measured` then holds.
find::IsotopeScoreSettings scoreSettingsOf(const CommandLine& commandLine, double target,
                                           const measured::Spectrum* profilePoints,
                                           std::optional<double>* measured = nullptr);

} // namespace orvane::cli
