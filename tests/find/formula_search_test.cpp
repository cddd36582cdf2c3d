#include "find/formula_search.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "accurate/accurate_test_support.h"
#include "accurate/element_isotopes.h"
#include "accurate/ion_mz.h"
#include "find/formula_enumerator.h"

namespace orvane::find {
namespace {

using accurate::support::columnOf;
using accurate::support::errorOf;
using accurate::support::shippedTables;

double mainMass(const std::string& symbol) {
    return accurate::readElementIsotopes(shippedTables(), columnOf(symbol), '.')
        .mostAbundant()
        .mass;
}

// A formula and ion as the brute force and the search both name it.
using Found = std::tuple<std::string, std::string>;

std::set<Found> foundBy(const FindResult& result) {
    std::set<Found> found;
    for (const Candidate& candidate : result.candidates) {
        found.emplace(candidate.formula, candidate.ion);
    }
    return found;
}

// Every count of C 0-12, H 0-24, N 0-4, O 0-5, S 0-1 tried for each ion: (k M + adducts -
// z electrons) / |z| against the target, the formula written in Hill order by hand; with
// `ionAtoms`, only the molecules that hold the H that [M-H]- takes.
std::set<Found> bruteForce(double target, const MassTolerance& tolerance, bool ionAtoms) {
    struct Ion {
        const char* text;
        int k;
        double adducts;
        int z;
        int hydrogensLost;
    };
    const double h = mainMass("H");
    const double carbon = mainMass("C");
    const double nitrogen = mainMass("N");
    const double oxygen = mainMass("O");
    const double sulfur = mainMass("S");
    const Ion ions[] = {{"[M+H]+", 1, h, 1, 0},
                        {"[M-H]-", 1, -h, -1, 1},
                        {"[M+Na]+", 1, mainMass("Na"), 1, 0},
                        {"[M+2H]2+", 1, 2 * h, 2, 0},
                        {"[2M+H]+", 2, h, 1, 0}};
    std::set<Found> found;
    for (int c = 0; c <= 12; ++c) {
        for (int hydrogens = 0; hydrogens <= 24; ++hydrogens) {
            for (int n = 0; n <= 4; ++n) {
                for (int o = 0; o <= 5; ++o) {
                    for (int s = 0; s <= 1; ++s) {
                        if (c + hydrogens + n + o + s == 0) {
                            continue;
                        }
                        const double mass =
                            c * carbon + hydrogens * h + n * nitrogen + o * oxygen + s * sulfur;
                        std::string formula;
                        const auto put = [&](const char* symbol, int count) {
                            if (count > 0) {
                                formula += symbol + (count > 1 ? std::to_string(count) : "");
                            }
                        };
                        if (c > 0) {
                            put("C", c);
                            put("H", hydrogens);
                            put("N", n);
                            put("O", o);
                            put("S", s);
                        } else {
                            put("H", hydrogens);
                            put("N", n);
                            put("O", o);
                            put("S", s);
                        }
                        for (const Ion& ion : ions) {
                            if (ionAtoms && hydrogens * ion.k < ion.hydrogensLost) {
                                continue;
                            }
                            const double mz =
                                (ion.k * mass + ion.adducts - ion.z * accurate::electronMass) /
                                std::abs(ion.z);
                            if (tolerance.accepts(target, mz)) {
                                found.emplace(formula, ion.text);
                            }
                        }
                    }
                }
            }
        }
    }
    return found;
}

TEST(FormulaSearch, RefusesWhatItCannotSearch) {
    const struct {
        const char* name;
        FindQuery query;
        const char* message;
    } cases[] = {
        {"no target", {0, {}, {"[M+H]+"}, "C0-4", {}}, "The target m/z must be a number above 0."},
        {"NaN target",
         {std::nan(""), {}, {"[M+H]+"}, "C0-4", {}},
         "The target m/z must be a number above 0."},
        {"no tolerance",
         {100, {0, false}, {"[M+H]+"}, "C0-4", {}},
         "The tolerance must be a number above 0."},
        {"ranges",
         {100, {}, {"[M+H]+"}, "C0-4 Q1", {}},
         "Element ranges \"C0-4 Q1\": an element symbol is expected at position 6."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { findFormulas(c.query, shippedTables(), '.'); }), c.message);
    }
    FindQuery badIon{100, {}, {"[M+H]+", "[M+Qq]+"}, "C0-4", {}};
    EXPECT_NE(errorOf([&] { findFormulas(badIon, shippedTables(), '.'); }), "no error");
}

TEST(FormulaSearch, FindsExactlyWhatTheBruteForceFinds) {
    const struct {
        const char* name;
        double target;
        MassTolerance tolerance;
    } cases[] = {
        {"m/z 100, 50 ppm", 100.0757, {50, false}}, {"m/z 195, 20 ppm", 195.0877, {20, false}},
        {"m/z 195, 30 mDa", 195.0877, {30, true}},  {"m/z 300, 100 ppm", 300.1000, {100, false}},
        {"m/z 59, 200 mDa", 59.0, {200, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FindQuery query{c.target,
                        c.tolerance,
                        {"[M+H]+", "[M-H]-", "[M+Na]+", "[M+2H]2+", "[2M+H]+"},
                        "C0-12 H0-24 N0-4 O0-5 S0-1",
                        {}};
        query.rules.disableHeuristics();
        // with no rule at all, by the mass alone: [M-H]- of formulas without hydrogen too
        const FindResult result = findFormulas(query, shippedTables(), '.');
        const std::set<Found> expected = bruteForce(c.target, c.tolerance, false);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(foundBy(result), expected);
        EXPECT_EQ(result.evaluated, static_cast<long long>(expected.size()));
        EXPECT_EQ(result.removedByRules, 0);
        EXPECT_EQ(result.candidates.size(), expected.size());
        // the ion-atoms rule removes those and counts them
        query.rules.ionAtoms = true;
        const FindResult ruled = findFormulas(query, shippedTables(), '.');
        const std::set<Found> possible = bruteForce(c.target, c.tolerance, true);
        EXPECT_EQ(foundBy(ruled), possible);
        EXPECT_EQ(ruled.evaluated, result.evaluated);
        EXPECT_EQ(ruled.removedByRules, static_cast<long long>(expected.size() - possible.size()));
        EXPECT_EQ(ruled.removedBy[static_cast<std::size_t>(Rule::IonAtoms)], ruled.removedByRules);
    }
}

TEST(FormulaSearch, TakesTheAtomicMassEvaluationsMassesAsEveryOtherResultDoes) {
    // the 2016 evaluation's masses as NIST SRD 144 gives them, which masses.txt holds
    constexpr long double carbon = 12, hydrogen = 1.00782503223L, nitrogen = 14.00307400443L,
                          oxygen = 15.99491461957L;
    const auto onlyCandidate = [](double target, const char* formula) -> std::optional<Candidate> {
        FindQuery query{target, {5, false}, {"[M+H]+"}, formula, {}};
        query.rules.disableHeuristics();
        const FindResult result = findFormulas(query, shippedTables(), '.');
        if (result.candidates.empty()) {
            return std::nullopt;
        }
        return result.candidates.front();
    };
    const auto caffeine = onlyCandidate(195.0877, "C8-8 H10-10 N4-4 O2-2");
    ASSERT_TRUE(caffeine);
    const long double evaluationMz =
        8 * carbon + 11 * hydrogen + 4 * nitrogen + 2 * oxygen - accurate::electronMass;
    EXPECT_NEAR(caffeine->mz, static_cast<double>(evaluationMz), 1e-11);
    EXPECT_EQ(mainMass("H"), static_cast<double>(hydrogen));
    EXPECT_EQ(mainMass("O"), static_cast<double>(oxygen));

    // formulas within 0.003 ppm of the edge of 5 ppm, where the earlier table's masses put
    // them on the other side: the search gives the evaluation's answer
    const struct {
        double target;
        const char* formula;
        bool inside;
    } edges[] = {
        {500.0731, "C16-16 H28-28 N3-3 O5-5 P3-3 S2-2", false},
        {475.0731, "C4-4 H49-49 Br1-1 Cl4-4 N1-1 O1-1 S4-4", true},
    };
    for (const auto& edge : edges) {
        SCOPED_TRACE(edge.formula);
        EXPECT_EQ(onlyCandidate(edge.target, edge.formula).has_value(), edge.inside);
    }
}

TEST(FormulaSearch, RanksByTheMassErrorAndCountsWhatRulesRemove) {
    // caffeine's [M+H]+ from the shipped masses, with what 5 ppm of it let in
    const double caffeine =
        8 * mainMass("C") + 10 * mainMass("H") + 4 * mainMass("N") + 2 * mainMass("O");
    const double target = accurate::mzOf(caffeine + mainMass("H"), 1);
    FindQuery query;
    query.mz = target;
    query.rules.compositionPrior = false; // by the mass alone
    FindResult result = findFormulas(query, shippedTables(), '.');
    ASSERT_FALSE(result.candidates.empty());
    const Candidate& first = result.candidates.front();
    EXPECT_EQ(first.formula, "C8H10N4O2");
    EXPECT_EQ(first.ionFormula, "C8H11N4O2");
    EXPECT_EQ(first.ion, "[M+H]+");
    EXPECT_NEAR(first.ppm, 0, 1e-6);
    EXPECT_EQ(first.rdbe, 6);
    EXPECT_NEAR(first.mz, target, 1e-9);
    for (std::size_t i = 1; i < result.candidates.size(); ++i) {
        EXPECT_LE(std::abs(result.candidates[i - 1].ppm), std::abs(result.candidates[i].ppm));
        EXPECT_LE(std::abs(result.candidates[i].ppm), 5);
        EXPECT_EQ(std::fmod(result.candidates[i].rdbe, 1.0), 0);
    }
    long long byRule = 0;
    for (const long long removed : result.removedBy) {
        byRule += removed;
    }
    EXPECT_EQ(byRule, result.removedByRules);
    EXPECT_EQ(result.evaluated,
              result.removedByRules + static_cast<long long>(result.candidates.size()));
    EXPECT_GT(result.removedByRules, 0);

    // without rules the same search keeps everything it evaluated
    query.rules.disableHeuristics();
    const FindResult all = findFormulas(query, shippedTables(), '.');
    EXPECT_EQ(all.evaluated, result.evaluated);
    EXPECT_EQ(all.candidates.size(), static_cast<std::size_t>(all.evaluated));
}

// Keeping only the best K makes the first K candidates of the whole ranking, the same in
// every field, with rankCandidates' order; what was found and evaluated stays the whole.
TEST(FormulaSearch, KeepingTheBestFewMakesTheFirstOfTheWholeRanking) {
    const struct {
        double mz;
        std::vector<std::string> ions;
        std::size_t keep;
    } cases[] = {
        {500.0731, {"[M+H]+"}, 20},
        {500.0731, {"[M+H]+", "[M+Na]+", "[M+2H]2+"}, 7},
        {304.1543, {"[M-H]-"}, 1},
        {304.1543, {"[M-H]-"}, 100000}, // more than there are
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mz) + " keep " + std::to_string(c.keep));
        FindQuery query;
        query.mz = c.mz;
        query.ions = c.ions;
        query.rules.disableHeuristics();
        const FindResult whole = findFormulas(query, shippedTables(), '.');
        query.keep = c.keep;
        const FindResult kept = findFormulas(query, shippedTables(), '.');

        EXPECT_EQ(kept.evaluated, whole.evaluated);
        EXPECT_EQ(kept.found, whole.candidates.size());
        ASSERT_EQ(kept.candidates.size(), std::min(c.keep, whole.candidates.size()));
        std::vector<Candidate> ranked = whole.candidates;
        rankCandidates(ranked);
        for (std::size_t i = 0; i < kept.candidates.size(); ++i) {
            SCOPED_TRACE(i);
            const Candidate& a = kept.candidates[i];
            const Candidate& b = ranked[i];
            EXPECT_EQ(a.formula, b.formula);
            EXPECT_EQ(a.ion, b.ion);
            EXPECT_EQ(a.ionFormula, b.ionFormula);
            EXPECT_EQ(a.counts, b.counts);
            EXPECT_EQ(a.ionAtoms.size(), b.ionAtoms.size());
            EXPECT_EQ(a.mz, b.mz);
            EXPECT_EQ(a.score, b.score);
            EXPECT_EQ(a.rdbe, b.rdbe);
        }
    }
}

TEST(FormulaSearch, MinimaAndIonsThatTakeAtomsAway) {
    // [M-H2O+H]+ needs two H and an O in the molecule; a minimum of 9 C leaves none of 8
    const double caffeine =
        8 * mainMass("C") + 10 * mainMass("H") + 4 * mainMass("N") + 2 * mainMass("O");
    FindQuery query;
    query.mz = accurate::mzOf(caffeine - mainMass("O") - mainMass("H"), 1);
    query.ions = {"[M-H2O+H]+"};
    query.elementRanges = "C0-10 H0-20 N0-5 O0-3";
    query.rules.disableHeuristics();
    query.rules.ionAtoms = true;
    const std::set<Found> found = foundBy(findFormulas(query, shippedTables(), '.'));
    EXPECT_EQ(found.count({"C8H10N4O2", "[M-H2O+H]+"}), 1u);
    query.elementRanges = "C9-10 H0-20 N0-5 O0-3";
    EXPECT_EQ(foundBy(findFormulas(query, shippedTables(), '.')).count({"C8H10N4O2", "[M-H2O+H]+"}),
              0u);
    // without oxygen in the ranges every formula lacks the O the ion takes: all are counted
    // against the rule, or, with it off, kept by their mass with the O owed in the ion
    query.elementRanges = "C0-14 H0-20 N0-5";
    query.tolerance = {50, true}; // wide enough for formulas of C, H and N alone
    const FindResult ruled = findFormulas(query, shippedTables(), '.');
    EXPECT_TRUE(ruled.candidates.empty());
    EXPECT_GT(ruled.evaluated, 0);
    EXPECT_EQ(ruled.removedBy[static_cast<std::size_t>(Rule::IonAtoms)], ruled.evaluated);
    query.rules.ionAtoms = false;
    const FindResult byMass = findFormulas(query, shippedTables(), '.');
    ASSERT_EQ(static_cast<long long>(byMass.candidates.size()), ruled.evaluated);
    for (const Candidate& candidate : byMass.candidates) {
        EXPECT_NE(candidate.ionFormula.find("O-1"), std::string::npos) << candidate.ionFormula;
        EXPECT_TRUE(query.tolerance.accepts(query.mz, candidate.mz));
    }
}

TEST(FormulaSearch, RangesTooWideForThePairTableAreSearchedCountByCount) {
    // C0-999999 H0-3 makes four million pairs: the search steps through every count instead
    for (const int carbons : {8, 100, 1000}) {
        SCOPED_TRACE(carbons);
        const double target = accurate::mzOf(12.0 * carbons + 3 * mainMass("H"), 1); // CnH2 + H
        FindQuery narrow{target, {400, true}, {"[M+H]+"}, "C0-2000 H0-3", {}};
        narrow.rules.disableHeuristics();
        FindQuery wide = narrow;
        wide.elementRanges = "C0-999999 H0-3";
        const std::set<Found> expected = foundBy(findFormulas(narrow, shippedTables(), '.'));
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(foundBy(findFormulas(wide, shippedTables(), '.')), expected);
        FindQuery single = narrow;
        single.mz = accurate::mzOf(12.0 * carbons, 1);
        single.elementRanges = "C0-2000";
        single.ions = {"[M]+"};
        const std::set<Found> carbonOnly = foundBy(findFormulas(single, shippedTables(), '.'));
        EXPECT_EQ(carbonOnly, (std::set<Found>{{"C" + std::to_string(carbons), "[M]+"}}));
    }
}

// Streamed, every candidate goes to the sink as it is found and none is held: the same
// candidates as the whole search, in the same order in every run.
TEST(FormulaSearch, SendsEveryCandidateToTheSinkAndHoldsNone) {
    FindQuery query;
    query.mz = 500.0731;
    query.ions = {"[M+H]+", "[M+Na]+"};
    query.rules.disableHeuristics();
    const FindResult whole = findFormulas(query, shippedTables(), '.');
    ASSERT_GT(whole.candidates.size(), 100u);
    const auto streamed = [&] {
        std::vector<Found> sent;
        const FindResult result =
            findFormulas(query, shippedTables(), '.', {}, [&](const Candidate& candidate) {
                sent.emplace_back(candidate.formula, candidate.ion);
            });
        EXPECT_TRUE(result.candidates.empty());
        EXPECT_EQ(result.found, whole.found);
        EXPECT_EQ(result.evaluated, whole.evaluated);
        return sent;
    };
    const std::vector<Found> sent = streamed();
    EXPECT_EQ(std::set<Found>(sent.begin(), sent.end()), foundBy(whole));
    EXPECT_EQ(sent.size(), whole.candidates.size());
    EXPECT_EQ(streamed(), sent);
}

// Heaviest elements of one count each leave all the work to the loops below them: a cancel
// still takes effect within a few thousand steps there, whatever loop the walk is in, and
// the progress moves by the work done, not only by the heaviest counts.
TEST(FormulaSearch, StopsWithinAFewThousandStepsOfACancelInEveryLoop) {
    const struct {
        const char* ranges;
        double mz;
        int callsAllowed;
    } cases[] = {
        {"C0-60 H0-120 N0-10 O0-20 S0-1 Cl0-1 Br0-1 I0-1", 800.1, 5},
        {"C0-60 H0-120 N0-10 O0-20 S0-1 Cl0-1 Br0-1 I0-1", 800.1, 40},
        {"C0-200 H0-400 N0-40 O0-60 P0-1", 1500.3, 12},
        {"C0-60 H0-120", 500.2, 1}, // only the table and the carbon
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ranges) + " after " + std::to_string(c.callsAllowed));
        FindQuery query;
        query.mz = c.mz;
        query.tolerance.value = 20000;
        query.elementRanges = c.ranges;
        query.rules.disableHeuristics();
        query.keep = 20;
        int calls = 0;
        std::vector<double> parts;
        const FindResult stopped = findFormulas(query, shippedTables(), '.', [&](double part) {
            parts.push_back(part);
            return ++calls < c.callsAllowed;
        });
        EXPECT_TRUE(stopped.cancelled);
        EXPECT_EQ(calls, c.callsAllowed);
        EXPECT_LE(stopped.walked,
                  static_cast<long long>(c.callsAllowed) * FormulaEnumerator::pollInterval);
        EXPECT_TRUE(std::is_sorted(parts.begin(), parts.end()));
        EXPECT_LE(stopped.candidates.size(), 20u);
    }
}

TEST(FormulaSearch, ReportsItsProgressAndStopsWhenTold) {
    FindQuery query;
    query.mz = 500.2;
    query.ions = {"[M+H]+", "[M+Na]+"};
    query.rules.disableHeuristics();
    const FindResult whole = findFormulas(query, shippedTables(), '.');
    EXPECT_FALSE(whole.cancelled);

    std::vector<double> parts;
    const FindResult followed = findFormulas(query, shippedTables(), '.', [&](double part) {
        parts.push_back(part);
        return true;
    });
    EXPECT_FALSE(followed.cancelled);
    EXPECT_EQ(foundBy(followed), foundBy(whole));
    ASSERT_GT(parts.size(), 10u);
    EXPECT_EQ(parts.front(), 0.0);
    EXPECT_TRUE(std::is_sorted(parts.begin(), parts.end()));
    EXPECT_LT(parts.back(), 1.0);
    EXPECT_GE(parts.back(), 0.5); // the second ion's walk

    // stopped half-way: marked, and only part of the formulas
    const FindResult stopped =
        findFormulas(query, shippedTables(), '.', [](double part) { return part < 0.5; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_LT(stopped.candidates.size(), whole.candidates.size());
    const FindResult none = findFormulas(query, shippedTables(), '.', [](double) { return false; });
    EXPECT_TRUE(none.cancelled);
    EXPECT_TRUE(none.candidates.empty());
}

} // namespace
} // namespace orvane::find

namespace orvane::find {
namespace {

TEST(FormulaSearch, ThePriorRanksAFlavoneAboveItsPhosphorusLookAlikes) {
    // [M-H]- of C15H10O6 (a flavone); within 10 ppm lie N- and P-rich formulas that the mass
    // alone puts first
    const double flavone = 15 * mainMass("C") + 10 * mainMass("H") + 6 * mainMass("O");
    FindQuery query;
    query.mz = accurate::mzOf(flavone - mainMass("H"), -1) * (1 + 4e-6);
    query.tolerance = {10, false};
    query.ions = {"[M-H]-"};
    FindResult byMass = findFormulas(query, shippedTables(), '.');
    query.rules.compositionPrior = false;
    const FindResult withoutPrior = findFormulas(query, shippedTables(), '.');
    ASSERT_FALSE(withoutPrior.candidates.empty());
    EXPECT_NE(withoutPrior.candidates.front().formula, "C15H10O6");
    ASSERT_FALSE(byMass.candidates.empty());
    EXPECT_EQ(byMass.candidates.front().formula, "C15H10O6");
    EXPECT_EQ(byMass.candidates.front().prior, 0);
    for (const Candidate& candidate : byMass.candidates) {
        EXPECT_NEAR(candidate.score,
                    massScore(query.tolerance, query.mz, candidate.mz) + candidate.prior, 1e-12);
        if (candidate.formula.find('P') != std::string::npos) {
            EXPECT_LT(candidate.prior, -2) << candidate.formula;
        }
    }
}

TEST(FormulaSearch, AClosedShellCationIsFoundAsItIsAndARadicalAsANeutral) {
    // berberine, C20H18NO4+, is measured as it is: its formula's valences add to an odd sum
    const double berberine =
        20 * mainMass("C") + 18 * mainMass("H") + mainMass("N") + 4 * mainMass("O");
    FindQuery query;
    query.mz = accurate::mzOf(berberine, 1);
    const auto found = [&](const char* ion) {
        query.ions = {ion};
        const FindResult result = findFormulas(query, shippedTables(), '.');
        for (const Candidate& candidate : result.candidates) {
            EXPECT_EQ(std::fmod(std::abs(candidate.rdbe), 1.0),
                      std::string(ion) == "[M]+" ? 0.5 : 0.0)
                << ion << " " << candidate.formula;
            if (candidate.formula == "C20H18NO4") {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(found("[M]+"));
    EXPECT_FALSE(found("[M]+."));
    EXPECT_FALSE(found("[M+H]+"));
}

} // namespace
} // namespace orvane::find
