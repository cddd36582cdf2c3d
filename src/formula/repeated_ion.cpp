#include "formula/repeated_ion.h"

#include <cassert>
#include <cstdlib>

#include "formula/adduct_charge.h"

namespace orvane::formula {

namespace {

bool isCharged(const AdductTerm& term) {
    // a neutral loss such as H2O happens once, whatever the charge
    return adductUnitCharge(term.formula).value_or(1) != 0;
}

} // namespace

std::string repeatedIonText(const IonNotation& ion, int times) {
    assert(times >= 1);
    std::string text = "[";
    if (ion.moleculeMultiplier != 1) {
        text += std::to_string(ion.moleculeMultiplier);
    }
    text += "M";
    for (const AdductTerm& term : ion.terms) {
        const long long multiplier =
            isCharged(term) ? static_cast<long long>(term.multiplier) * times : term.multiplier;
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

std::string repeatedIonTemplate(const IonNotation& ion) {
    if (std::abs(ion.charge) != 1) {
        return {};
    }
    std::string text = "[";
    if (ion.moleculeMultiplier != 1) {
        text += std::to_string(ion.moleculeMultiplier);
    }
    text += "M";
    for (const AdductTerm& term : ion.terms) {
        const bool charged = isCharged(term);
        if (charged && term.multiplier != 1) {
            return {};
        }
        text += term.sign > 0 ? "+" : "-";
        if (charged) {
            text += "z";
        } else if (term.multiplier != 1) {
            text += std::to_string(term.multiplier);
        }
        text += term.formula;
    }
    return text + (ion.charge < 0 ? "]z-" : "]z+");
}

} // namespace orvane::formula
