#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "accurate/accurate_masses.h"
#include "data/data_tables.h"
#include "find/element_ranges.h"
#include "find/formula_rules.h"

namespace orvane::find {

// How far a formula's m/z may lie from the target.
struct MassTolerance {
    double value = 5;          // above 0
    bool milliDaltons = false; // value in mDa instead of ppm

    /// True when `mz` is within the tolerance of `target`; ppm are of the target.
    bool accepts(double target, double mz) const;
};

// What to search for.
struct FindQuery {
    double mz = 0; // the target m/z, above 0
    MassTolerance tolerance;
    std::vector<std::string> ions{"[M+H]+"}; // notations as the ion reader takes them
    std::string elementRanges = defaultElementRanges;
    RuleSettings rules;
    // Only the best this many candidates are made (0: all), for a report that shows no more;
    // the counts of what was found and evaluated are of the whole search.
    std::size_t keep = 0;
    // Whether the candidates list their ion's atoms, which only the isotope score reads.
    bool withIonAtoms = true;
};

// One formula whose ion lies within the tolerance of the target.
struct Candidate {
    std::vector<long long> counts; // the neutral formula, indexed like FindResult::elements
    std::string formula;           // the neutral formula in Hill order
    std::string ion;               // the notation as given
    std::string ionFormula;        // the ion's atoms in Hill order
    int charge = 1;
    std::vector<accurate::AtomCount> ionAtoms; // by column, above 0 (when the query asks)
    double neutralMass = 0;                    // monoisotopic
    double mz = 0;                             // monoisotopic m/z of the ion
    double ppm = 0;                            // (target - mz) / mz * 1e6
    double rdbe = 0;                           // of the neutral formula
    std::optional<double> isotopeScore;        // with a measured spectrum only
    std::optional<double> cosine;              // the same match's cosine (PatternScore)
    std::optional<double> offsetPpm;           // and the cluster's common m/z offset
    double prior = 0;                          // compositionPrior, 0 when it is off
    double score = 0;                          // the larger the likelier
};

// Every formula found, ranked.
struct FindResult {
    std::vector<ElementRange> elements; // as the ranges were written
    long long evaluated = 0;            // formulas and ions within the tolerance
    long long removedByRules = 0;       // of those, removed by a rule
    RuleCounts removedBy{};             // by the first rule each broke
    std::vector<Candidate> candidates;  // best first; at most the query's `keep`
    std::size_t found = 0;              // candidates that passed the rules
    long long walked = 0;               // steps of the walk: counts tried, table entries seen
    bool cancelled = false;             // stopped by the progress callback: incomplete
};

// Told the part of a search done, 0 to 1, now and then; returns false to stop it.
using FindProgress = std::function<bool(double)>;

// Takes each candidate as it is found, in the order of the walk, instead of the result.
using CandidateSink = std::function<void(const Candidate&)>;

/// The mass term of the score: the log-likelihood of the m/z error under a Gaussian whose
/// standard deviation is half the tolerance at the target, -0.5 (error / sigma)^2.
double massScore(const MassTolerance& tolerance, double target, double mz);

/// Every neutral formula within the ranges (at least one atom) whose monoisotopic ion m/z,
/// for any of the ions, lies within the tolerance of the target, that no rule removes;
/// ranked by the mass score. Masses are those of the most abundant isotope of each element in
/// masses.txt, as every other result takes them. Raises text::Error for ranges or ions
/// the readers refuse, a target or tolerance that is not above 0, and what readElementIsotopes
/// refuses. While the walk goes on only the best `keep` are held (a bounded heap), so that the
/// memory does not grow with what is found. `progress` is called at the start, at each step of
/// the three heaviest elements' counts and every few thousand steps of every loop below them
/// (FormulaEnumerator::pollInterval); when it returns false the search stops and the result,
/// marked cancelled, holds what was found so far. With a `sink`, every candidate goes to it
/// as it is found and none is held: ion by ion as given, the heaviest element's count rising
/// slowest (unranked; the same order in every run).
FindResult findFormulas(const FindQuery& query, const data::DataTables& tables, char separator,
                        const FindProgress& progress = {}, const CandidateSink& sink = {});

/// Sorts best first: higher score, then smaller |ppm|, then formula and ion text.
void rankCandidates(std::vector<Candidate>& candidates);

} // namespace orvane::find
