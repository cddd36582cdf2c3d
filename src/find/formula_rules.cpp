#include "find/formula_rules.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <limits>

namespace orvane::find {

namespace {

// The atoms of the elements the rules name, counted in one pass.
struct RuleAtoms {
    long long c = 0, h = 0, n = 0, o = 0, p = 0, s = 0, f = 0, cl = 0, br = 0, si = 0;

    explicit RuleAtoms(const std::vector<AtomTally>& atoms) {
        for (const AtomTally& atom : atoms) {
            if (long long* count = slotOf(atom.symbol)) {
                *count += atom.count;
            }
        }
    }

    long long* slotOf(std::string_view symbol) {
        if (symbol.size() == 1) {
            switch (symbol[0]) {
            case 'C':
                return &c;
            case 'H':
                return &h;
            case 'N':
                return &n;
            case 'O':
                return &o;
            case 'P':
                return &p;
            case 'S':
                return &s;
            case 'F':
                return &f;
            default:
                return nullptr;
            }
        }
        return symbol == "Cl" ? &cl : symbol == "Br" ? &br : symbol == "Si" ? &si : nullptr;
    }
};

// The most atoms of each element found in known small molecules below a mass, the larger
// of the two large compound libraries the limits were drawn from.
struct CountLimits {
    double belowMass;
    std::array<long long, 10> most; // C H N O P S F Cl Br Si
};
constexpr std::array<CountLimits, 4> countLimits{{
    {500, {39, 72, 20, 20, 9, 10, 16, 10, 5, 8}},
    {1000, {78, 126, 25, 27, 9, 14, 34, 12, 8, 14}},
    {2000, {156, 236, 32, 63, 9, 14, 48, 12, 10, 15}},
    {3000, {180, 208, 48, 78, 9, 14, 48, 12, 10, 15}},
}};

bool withinCountLimits(const RuleAtoms& atoms, double neutralMass) {
    for (const CountLimits& limits : countLimits) {
        if (neutralMass < limits.belowMass) {
            const std::array<long long, 10> counts{atoms.c, atoms.h, atoms.n,  atoms.o,  atoms.p,
                                                   atoms.s, atoms.f, atoms.cl, atoms.br, atoms.si};
            for (std::size_t i = 0; i < counts.size(); ++i) {
                if (counts[i] > limits.most[i]) {
                    return false;
                }
            }
            return true;
        }
    }
    return true; // above the masses the libraries cover nothing is known
}

// n / carbons at most `most` (and at least `least`); without carbon any atom is too many.
bool ratioWithin(long long n, long long carbons, double least, double most) {
    if (carbons == 0) {
        return n == 0;
    }
    const double ratio = static_cast<double>(n) / static_cast<double>(carbons);
    return ratio >= least && ratio <= most;
}

bool hydrogenCarbonWithin(const RuleAtoms& atoms, bool common) {
    const long long carbons = atoms.c;
    const long long hydrogens = atoms.h;
    if (carbons == 0 && hydrogens == 0) {
        return true;
    }
    return common ? ratioWithin(hydrogens, carbons, 0.2, 3.1)
                  : ratioWithin(hydrogens, carbons, 0.1, 6);
}

bool heteroatomsCarbonWithin(const RuleAtoms& atoms, bool common) {
    struct Ratio {
        long long count;
        double extended;
        double common;
    };
    const std::array<Ratio, 7> ratios{{{atoms.n, 4, 1.3},
                                       {atoms.o, 3, 1.2},
                                       {atoms.p, 2, 0.3},
                                       {atoms.s, 3, 0.8},
                                       {atoms.f, 6, 1.5},
                                       {atoms.cl, 2, 0.8},
                                       {atoms.br, 2, 0.8}}};
    return std::all_of(ratios.begin(), ratios.end(), [&](const Ratio& r) {
        return ratioWithin(r.count, atoms.c, 0, common ? r.common : r.extended);
    });
}

// Formulas rich in several of N, O, P, S at once are rare; each group of them present with
// more than one atom each caps their counts.
bool heteroatomCountsLikely(const RuleAtoms& atoms) {
    const long long n = atoms.n;
    const long long o = atoms.o;
    const long long p = atoms.p;
    const long long s = atoms.s;
    if (n > 1 && o > 1 && p > 1 && s > 1 && (n >= 10 || o >= 20 || p >= 4 || s >= 3)) {
        return false;
    }
    if (n > 1 && o > 1 && p > 1 && (n >= 11 || o >= 22 || p >= 6)) {
        return false;
    }
    if (o > 1 && p > 1 && s > 1 && (o >= 14 || p >= 3 || s >= 3)) {
        return false;
    }
    if (p > 1 && s > 1 && n > 1 && (p >= 3 || s >= 3 || n >= 4)) {
        return false;
    }
    if (n > 1 && o > 1 && s > 1 && (n >= 19 || o >= 14 || s >= 8)) {
        return false;
    }
    return true;
}

bool seniorHolds(const std::vector<AtomTally>& atoms) {
    long long valences = 0;
    long long count = 0;
    int highest = 0;
    for (const AtomTally& atom : atoms) {
        if (atom.count > 0) {
            valences += atom.count * atom.valence;
            count += atom.count;
            highest = std::max(highest, atom.valence);
        }
    }
    return valences >= 2LL * highest && valences >= 2 * (count - 1);
}

bool valenceSumOdd(const std::vector<AtomTally>& atoms) {
    long long valences = 0;
    for (const AtomTally& atom : atoms) {
        valences += atom.count * atom.valence;
    }
    return valences % 2 != 0;
}

} // namespace

std::string_view ruleName(Rule rule) {
    switch (rule) {
    case Rule::IonAtoms:
        return "ion atoms";
    case Rule::RdbeRange:
        return "RDBE range";
    case Rule::Lewis:
        return "LEWIS";
    case Rule::Senior:
        return "SENIOR";
    case Rule::ElementCounts:
        return "element counts";
    case Rule::HydrogenCarbon:
        return "H/C";
    case Rule::HeteroatomCarbon:
        return "heteroatoms/C";
    case Rule::HeteroatomProbability:
        return "heteroatom counts";
    }
    return "";
}

void RuleSettings::disableHeuristics() {
    ionAtoms = lewis = senior = elementCounts = hydrogenCarbon = heteroatomCarbon =
        heteroatomProbability = compositionPrior = false;
}

bool switchRule(RuleSettings& settings, std::string_view name, bool on) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::array<bool*, 9> switches{&settings.ionAtoms,
                                        &settings.lewis,
                                        &settings.senior,
                                        &settings.elementCounts,
                                        &settings.hydrogenCarbon,
                                        &settings.heteroatomCarbon,
                                        &settings.heteroatomProbability,
                                        nullptr,
                                        &settings.compositionPrior};
    for (std::size_t i = 0; i < switchableRules.size(); ++i) {
        if (lower == switchableRules[i]) {
            if (switches[i] != nullptr) {
                *switches[i] = on;
            } else {
                settings.hydrogenCarbon = settings.heteroatomCarbon = on;
            }
            return true;
        }
    }
    return false;
}

bool lewisValenceSumOdd(int moleculeCharge, bool radical) {
    return (moleculeCharge + (radical ? 1 : 0)) % 2 != 0;
}

double rdbeOf(const std::vector<AtomTally>& atoms) {
    long long twice = 2;
    for (const AtomTally& atom : atoms) {
        twice += atom.count * (atom.valence - 2);
    }
    return static_cast<double>(twice) / 2;
}

std::optional<Rule> firstBrokenRule(const std::vector<AtomTally>& atoms, double neutralMass,
                                    const RuleSettings& settings, bool oddValenceSum) {
    if (settings.rdbeMinimum || settings.rdbeMaximum) {
        const double rdbe = rdbeOf(atoms);
        if (rdbe < settings.rdbeMinimum.value_or(-std::numeric_limits<double>::infinity()) ||
            rdbe > settings.rdbeMaximum.value_or(std::numeric_limits<double>::infinity())) {
            return Rule::RdbeRange;
        }
    }
    if (settings.lewis && valenceSumOdd(atoms) != oddValenceSum) {
        return Rule::Lewis;
    }
    if (settings.senior && !seniorHolds(atoms)) {
        return Rule::Senior;
    }
    const RuleAtoms counted(atoms);
    if (settings.elementCounts && !withinCountLimits(counted, neutralMass)) {
        return Rule::ElementCounts;
    }
    if (settings.hydrogenCarbon && !hydrogenCarbonWithin(counted, settings.commonRatios)) {
        return Rule::HydrogenCarbon;
    }
    if (settings.heteroatomCarbon && !heteroatomsCarbonWithin(counted, settings.commonRatios)) {
        return Rule::HeteroatomCarbon;
    }
    if (settings.heteroatomProbability && !heteroatomCountsLikely(counted)) {
        return Rule::HeteroatomProbability;
    }
    return std::nullopt;
}

} // namespace orvane::find
