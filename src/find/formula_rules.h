#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace orvane::find {

// The checks a found formula must pass, in the order they are tried; a formula is counted
// against the first it breaks.
enum class Rule {
    IonAtoms,              // the molecules hold every atom the ion takes away
    RdbeRange,             // the RDBE bounds asked for
    Lewis,                 // whole RDBE: an even sum of valences
    Senior,                // valences enough to join all atoms
    ElementCounts,         // at most the counts seen in known compounds of that mass
    HydrogenCarbon,        // H/C
    HeteroatomCarbon,      // N, O, P, S, F, Cl, Br each per C
    HeteroatomProbability, // N, O, P, S together
};
inline constexpr std::size_t ruleCount = 8;

/// The rule's name as reports give it: "ion atoms", "RDBE range", "LEWIS", "SENIOR",
/// "element counts", "H/C", "heteroatoms/C", "heteroatom counts".
std::string_view ruleName(Rule rule);

// Which rules apply. By default the heuristic rules of small-molecule formula filtering,
// with the wide element ratios that still hold nearly all known compounds.
struct RuleSettings {
    std::optional<double> rdbeMinimum; // nothing: no bound
    std::optional<double> rdbeMaximum;
    // Off, an ion that takes away atoms its molecules lack (the H of [M-H]- from a formula
    // without hydrogen) is taken by its mass alone, as mass-only formula finders do.
    bool ionAtoms = true;
    bool lewis = true; // off for radicals, whose RDBE ends in .5
    bool senior = true;
    bool elementCounts = true;
    bool hydrogenCarbon = true;
    bool heteroatomCarbon = true;
    bool heteroatomProbability = true;
    bool commonRatios = false; // the narrower ratios most compounds keep to

    /// Every rule off but the RDBE bounds, which were asked for by value.
    void disableHeuristics();
};

// The atoms of one element of a neutral formula.
struct AtomTally {
    std::string_view symbol;
    long long count = 0;
    int valence = 2; // lowestValence of the symbol
};

/// The rings plus double bonds of the neutral formula, 1 + sum of n (v - 2) / 2.
double rdbeOf(const std::vector<AtomTally>& atoms);

/// The first rule in the order of Rule from RdbeRange on that the formula of the given
/// monoisotopic mass breaks; nothing when it passes them all. IonAtoms, which needs the
/// ion, is the search's to check first.
std::optional<Rule> firstBrokenRule(const std::vector<AtomTally>& atoms, double neutralMass,
                                    const RuleSettings& settings);

// How many formulas each rule removed, by Rule.
using RuleCounts = std::array<long long, ruleCount>;

} // namespace orvane::find
