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
    // Not a rule but a heuristic all the same: the ranking weighs each formula by how common
    // its composition is among known metabolites (compositionPrior).
    bool compositionPrior = true;
    double priorWeight = 1; // the prior's log counts this many times

    /// Every rule and the prior off but the RDBE bounds, which were asked for by value.
    void disableHeuristics();
};

// The names of the heuristics that can be switched one by one (--rules, --no-rule, the
// finder's rule boxes), in the order of Rule from IonAtoms on without the RDBE bounds, then
// "ratios" for both ratio rules and "prior" for the composition prior.
inline constexpr std::array<std::string_view, 9> switchableRules{
    "ion-atoms",         "lewis",  "senior", "element-counts", "h/c", "heteroatoms/c",
    "heteroatom-counts", "ratios", "prior"};

/// Turns the heuristic of that name (any case) on or off; false for a name not among
/// switchableRules, which changes nothing.
bool switchRule(RuleSettings& settings, std::string_view name, bool on);

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
/// ion, is the search's to check first. LEWIS asks the formula's sum of valences to be
/// even, or odd where `oddValenceSum` says that the measured species makes it so (a cation
/// measured as it is, whose formula holds an odd one; see lewisValenceSumOdd).
std::optional<Rule> firstBrokenRule(const std::vector<AtomTally>& atoms, double neutralMass,
                                    const RuleSettings& settings, bool oddValenceSum = false);

/// Whether the molecule M of an ion has an odd sum of valences when the ion measured is an
/// even-electron species (or, for a radical, an odd-electron one): M carries the charge
/// the written one leaves over from the adducts' (`moleculeCharge`, 0 for a neutral M as
/// in [M+H]+, +1 in [M]+), and a closed-shell species of charge q has a valence sum of the
/// parity of q.
bool lewisValenceSumOdd(int moleculeCharge, bool radical);

// How many formulas each rule removed, by Rule.
using RuleCounts = std::array<long long, ruleCount>;

} // namespace orvane::find
