#pragma once

#include <string>

#include "formula/ion_notation.h"

namespace orvane::formula {

/// The notation of `ion` with its charge-carrying adducts taken `times` times (at least 1)
/// and its charge with them: "[M+Na]+" 3 times is "[M+3Na]3+", "[M-H2O+H]+" twice
/// "[M-H2O+2H]2+". Known neutral terms (H2O, NH3 …) stay as they are; a term of unknown
/// charge counts as charged. Without any term only the charge is multiplied ("[M]3+").
std::string repeatedIonText(const IonNotation& ion, int times);

/// repeatedIonText as a notation of the ion box, "z" standing for the times: "[M+Na]+"
/// gives "[M+zNa]z+"; "" where "z" cannot say it (a charge other than 1, a charged term
/// with a multiplier of its own).
std::string repeatedIonTemplate(const IonNotation& ion);

} // namespace orvane::formula
