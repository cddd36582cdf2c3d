#include "formula/adduct_charge.h"

#include <cstdlib>
#include <string_view>

namespace orvane::formula {

namespace {

struct KnownAdduct {
    std::string_view formula;
    int charge;
};

constexpr KnownAdduct knownAdducts[] = {
    {"H", 1},     {"Li", 1},      {"Na", 1},      {"K", 1},      {"Rb", 1},    {"Cs", 1},
    {"Ag", 1},    {"NH4", 1},     {"F", -1},      {"Cl", -1},    {"Br", -1},   {"I", -1},
    {"HCOO", -1}, {"CH3COO", -1}, {"Mg", 2},      {"Ca", 2},     {"Sr", 2},    {"Ba", 2},
    {"Zn", 2},    {"H2O", 0},     {"NH3", 0},     {"CO2", 0},    {"CO", 0},    {"CH3OH", 0},
    {"CH3CN", 0}, {"HCOOH", 0},   {"CH3COOH", 0}, {"C2H5OH", 0}, {"H3PO4", 0}, {"H2", 0},
};

std::optional<int> unitCharge(const std::string& formula) {
    for (const KnownAdduct& adduct : knownAdducts) {
        if (adduct.formula == formula) {
            return adduct.charge;
        }
    }
    return std::nullopt;
}

std::string chargeText(int charge) {
    return std::to_string(std::abs(charge)) + (charge < 0 ? "-" : "+");
}

// The notation with the one charged term's multiplier set so that it gives `charge`;
// "" when no single term can.
std::string likelyNotation(const IonNotation& ion) {
    const AdductTerm* charged = nullptr;
    for (const AdductTerm& term : ion.terms) {
        if (unitCharge(term.formula).value_or(0) != 0) {
            if (charged != nullptr) {
                return {};
            }
            charged = &term;
        }
    }
    if (charged == nullptr) {
        return {};
    }
    const int unit = charged->sign * *unitCharge(charged->formula);
    if (ion.charge % unit != 0 || ion.charge / unit < 1) {
        return {};
    }
    return writtenIon(
        ion,
        [&](const AdductTerm& term) {
            const int multiplier = &term == charged ? ion.charge / unit : term.multiplier;
            return multiplier == 1 ? std::string() : std::to_string(multiplier);
        },
        ion.charge);
}

} // namespace

std::optional<int> adductUnitCharge(const std::string& formula) {
    return unitCharge(formula);
}

std::optional<int> adductCharge(const IonNotation& ion) {
    int total = 0;
    for (const AdductTerm& term : ion.terms) {
        const std::optional<int> unit = unitCharge(term.formula);
        if (!unit) {
            return std::nullopt;
        }
        total += term.sign * term.multiplier * *unit;
    }
    return total;
}

std::string chargeNotice(const IonNotation& ion) {
    const std::optional<int> given = adductCharge(ion);
    if (!given || *given == 0 || *given == ion.charge) {
        return {};
    }
    std::string notice = ion.text + ": the adducts give the charge " + chargeText(*given) +
                         ", not " + chargeText(ion.charge) + "; computed as written";
    const std::string likely = likelyNotation(ion);
    if (!likely.empty()) {
        notice += " (meant " + likely + "?)";
    }
    return notice;
}

} // namespace orvane::formula
