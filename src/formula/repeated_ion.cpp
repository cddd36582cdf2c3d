#include "formula/repeated_ion.h"

#include <cassert>
#include <cstdlib>

#include "formula/adduct_charge.h"
#include "formula/ion_notation.h"

namespace orvane::formula {

namespace {

bool isCharged(const AdductTerm& term) {
    // a neutral loss such as H2O happens once, whatever the charge
    return adductUnitCharge(term.formula).value_or(1) != 0;
}

// A multiplier as a notation writes it: nothing for 1.
std::string multiplierText(long long multiplier) {
    return multiplier == 1 ? std::string() : std::to_string(multiplier);
}

} // namespace

std::string repeatedIonText(const IonNotation& ion, int times) {
    assert(times >= 1);
    return writtenIon(
        ion,
        [times](const AdductTerm& term) {
            return multiplierText(isCharged(term) ? static_cast<long long>(term.multiplier) * times
                                                  : term.multiplier);
        },
        static_cast<long long>(ion.charge) * times);
}

std::string repeatedIonTemplate(const IonNotation& ion) {
    if (std::abs(ion.charge) != 1) {
        return {};
    }
    for (const AdductTerm& term : ion.terms) {
        if (isCharged(term) && term.multiplier != 1) {
            return {};
        }
    }
    return writtenIon(
        ion,
        [](const AdductTerm& term) {
            return isCharged(term) ? std::string("z") : multiplierText(term.multiplier);
        },
        ion.charge, "z");
}

} // namespace orvane::formula
