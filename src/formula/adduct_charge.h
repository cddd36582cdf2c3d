#pragma once

#include <optional>
#include <string>

#include "formula/ion_notation.h"

namespace orvane::formula {

/// The charge one unit of a known adduct brings ("Na" +1, "Cl" -1, "H2O" 0), as written
/// after its sign and multiplier; nothing for a formula not among them.
std::optional<int> adductUnitCharge(const std::string& formula);

/// The charge the adducts of the notation give together: +1 for each H, Li, Na, K, Rb, Cs,
/// Ag or NH4 gained, -1 for each F, Cl, Br, I, HCOO or CH3COO gained, +2 for Mg, Ca, Sr,
/// Ba, Zn, nothing for the common neutral losses (H2O, NH3, CO2 …); a term lost counts
/// with the opposite sign. Nothing when some term is none of these.
std::optional<int> adductCharge(const IonNotation& ion);

/// "" when the written charge is the adducts' charge or the adducts give none (a radical
/// ion such as [M]+); else a notice naming both and, where one adduct carries the charge,
/// the notation that gives the written one: "[M+H]2+: the adducts give the charge 1+, not
/// 2+; computed as written (meant [M+2H]2+?)".
std::string chargeNotice(const IonNotation& ion);

} // namespace orvane::formula
