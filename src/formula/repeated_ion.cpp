#include "formula/repeated_ion.h"

#include <cassert>
#include <cstdlib>

#include "formula/adduct_charge.h"

namespace orvane::formula {

std::string repeatedIonText(const IonNotation& ion, int times) {
    assert(times >= 1);
    std::string text = "[";
    if (ion.moleculeMultiplier != 1) {
        text += std::to_string(ion.moleculeMultiplier);
    }
    text += "M";
    for (const AdductTerm& term : ion.terms) {
        // a neutral loss such as H2O happens once, whatever the charge
        const bool charged = adductUnitCharge(term.formula).value_or(1) != 0;
        const long long multiplier =
            charged ? static_cast<long long>(term.multiplier) * times : term.multiplier;
        text += term.sign > 0 ? "+" : "-";
        if (multiplier != 1) {
            text += std::to_string(multiplier);
        }
        text += term.formula;
    }
    text += "]";
    const long long charge = static_cast<long long>(std::abs(ion.charge)) * times;
    if (charge != 1) {
        text += std::to_string(charge);
    }
    return text + (ion.charge < 0 ? "-" : "+");
}

} // namespace orvane::formula
