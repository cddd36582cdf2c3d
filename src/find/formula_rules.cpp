#include "find/formula_rules.h"

#include <algorithm>
#include <limits>

namespace orvane::find {

namespace {

long long countOf(const std::vector<AtomTally>& atoms, std::string_view symbol) {
    long long count = 0;
    for (const AtomTally& atom : atoms) {
        if (atom.symbol == symbol) {
            count += atom.count;
        }
    }
    return count;
}

// The most atoms of each element found in known small molecules below a mass, the larger
// of the two large compound libraries the limits were drawn from.
struct CountLimits {
    double belowMass;
    std::array<long long, 10> most; // C H N O P S F Cl Br Si
};
constexpr std::array<std::string_view, 10> limitedSymbols{"C", "H", "N",  "O",  "P",
                                                          "S", "F", "Cl", "Br", "Si"};
constexpr std::array<CountLimits, 4> countLimits{{
    {500, {39, 72, 20, 20, 9, 10, 16, 10, 5, 8}},
    {1000, {78, 126, 25, 27, 9, 14, 34, 12, 8, 14}},
    {2000, {156, 236, 32, 63, 9, 14, 48, 12, 10, 15}},
    {3000, {180, 208, 48, 78, 9, 14, 48, 12, 10, 15}},
}};

bool withinCountLimits(const std::vector<AtomTally>& atoms, double neutralMass) {
    for (const CountLimits& limits : countLimits) {
        if (neutralMass < limits.belowMass) {
            for (std::size_t i = 0; i < limitedSymbols.size(); ++i) {
                if (countOf(atoms, limitedSymbols[i]) > limits.most[i]) {
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

bool hydrogenCarbonWithin(const std::vector<AtomTally>& atoms, bool common) {
    const long long carbons = countOf(atoms, "C");
    const long long hydrogens = countOf(atoms, "H");
    if (carbons == 0 && hydrogens == 0) {
        return true;
    }
    return common ? ratioWithin(hydrogens, carbons, 0.2, 3.1)
                  : ratioWithin(hydrogens, carbons, 0.1, 6);
}

bool heteroatomsCarbonWithin(const std::vector<AtomTally>& atoms, bool common) {
    struct Ratio {
        std::string_view symbol;
        double extended;
        double common;
    };
    static constexpr std::array<Ratio, 7> ratios{{{"N", 4, 1.3},
                                                  {"O", 3, 1.2},
                                                  {"P", 2, 0.3},
                                                  {"S", 3, 0.8},
                                                  {"F", 6, 1.5},
                                                  {"Cl", 2, 0.8},
                                                  {"Br", 2, 0.8}}};
    const long long carbons = countOf(atoms, "C");
    return std::all_of(ratios.begin(), ratios.end(), [&](const Ratio& r) {
        return ratioWithin(countOf(atoms, r.symbol), carbons, 0, common ? r.common : r.extended);
    });
}

// Formulas rich in several of N, O, P, S at once are rare; each group of them present with
// more than one atom each caps their counts.
bool heteroatomCountsLikely(const std::vector<AtomTally>& atoms) {
    const long long n = countOf(atoms, "N");
    const long long o = countOf(atoms, "O");
    const long long p = countOf(atoms, "P");
    const long long s = countOf(atoms, "S");
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

bool valenceSumEven(const std::vector<AtomTally>& atoms) {
    long long valences = 0;
    for (const AtomTally& atom : atoms) {
        valences += atom.count * atom.valence;
    }
    return valences % 2 == 0;
}

} // namespace

std::string_view ruleName(Rule rule) {
    switch (rule) {
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
    lewis = senior = elementCounts = hydrogenCarbon = heteroatomCarbon = heteroatomProbability =
        false;
}

double rdbeOf(const std::vector<AtomTally>& atoms) {
    long long twice = 2;
    for (const AtomTally& atom : atoms) {
        twice += atom.count * (atom.valence - 2);
    }
    return static_cast<double>(twice) / 2;
}

std::optional<Rule> firstBrokenRule(const std::vector<AtomTally>& atoms, double neutralMass,
                                    const RuleSettings& settings) {
    if (settings.rdbeMinimum || settings.rdbeMaximum) {
        const double rdbe = rdbeOf(atoms);
        if (rdbe < settings.rdbeMinimum.value_or(-std::numeric_limits<double>::infinity()) ||
            rdbe > settings.rdbeMaximum.value_or(std::numeric_limits<double>::infinity())) {
            return Rule::RdbeRange;
        }
    }
    if (settings.lewis && !valenceSumEven(atoms)) {
        return Rule::Lewis;
    }
    if (settings.senior && !seniorHolds(atoms)) {
        return Rule::Senior;
    }
    if (settings.elementCounts && !withinCountLimits(atoms, neutralMass)) {
        return Rule::ElementCounts;
    }
    if (settings.hydrogenCarbon && !hydrogenCarbonWithin(atoms, settings.commonRatios)) {
        return Rule::HydrogenCarbon;
    }
    if (settings.heteroatomCarbon && !heteroatomsCarbonWithin(atoms, settings.commonRatios)) {
        return Rule::HeteroatomCarbon;
    }
    if (settings.heteroatomProbability && !heteroatomCountsLikely(atoms)) {
        return Rule::HeteroatomProbability;
    }
    return std::nullopt;
}

} // namespace orvane::find
