#include "find/formula_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "accurate/element_isotopes.h"
#include "accurate/ion_mz.h"
#include "find/bounded_best.h"
#include "find/composition_prior.h"
#include "find/formula_enumerator.h"
#include "find/hill_writer.h"
#include "find/valence.h"
#include "formula/adduct_charge.h"
#include "formula/element_symbols.h"
#include "formula/ion_notation.h"
#include "text/error.h"

namespace orvane::find {

namespace {

// An ion read for the search: the atoms its adducts add or take per column, in whole atoms.
struct SearchIon {
    std::string text;
    int multiplier = 1;
    int charge = 1;
    std::vector<long long> netAtoms; // by column
    long double adductMass = 0;      // signed: atoms gained minus atoms lost
    bool oddValenceSum = false;      // of M, for the measured species (lewisValenceSumOdd)
};

// The mass of the element's most abundant isotope in masses.txt: the 2016 evaluation the
// common formula finders use too, so that the formulas at the edge of the tolerance are the
// ones theirs give.
double monoisotopicMass(const data::DataTables& tables, int column, char separator) {
    return accurate::readElementIsotopes(tables, column, separator).mostAbundant().mass;
}

SearchIon readSearchIon(const std::string& text, const std::vector<std::string>& symbols,
                        const data::DataTables& tables, char separator) {
    const formula::IonNotation notation = formula::readIonNotation(text, symbols, separator);
    SearchIon ion{text, notation.moleculeMultiplier, notation.charge,
                  std::vector<long long>(symbols.size(), 0), 0};
    // through the reader's own arithmetic, so that a term of fractional or too many atoms is
    // refused in its words
    const std::vector<long long> none(symbols.size(), 0);
    for (const formula::AdductTerm& term : notation.terms) {
        for (const formula::ElementCount& element : term.counts.counts) {
            const auto column = static_cast<std::size_t>(element.column);
            const auto atoms = static_cast<long long>(element.count);
            if (static_cast<text::Extended>(atoms) != element.count) {
                throw text::Error("The ion " + text + " adds or takes " + element.countText +
                                  " atoms of " + symbols[column] + "; ions need whole atoms.");
            }
            ion.netAtoms[column] += term.sign * atoms;
            ion.adductMass += static_cast<long double>(term.sign * atoms) *
                              monoisotopicMass(tables, element.column, separator);
        }
    }
    // M carries what the written charge leaves over from the adducts': [M]+ is the cation
    // itself; an adduct of unknown charge leaves M neutral
    const std::optional<int> adducts = formula::adductCharge(notation);
    const int left = adducts ? notation.charge - *adducts : 0;
    const int moleculeCharge =
        left % notation.moleculeMultiplier == 0 ? left / notation.moleculeMultiplier : 0;
    ion.oddValenceSum = lewisValenceSumOdd(moleculeCharge, notation.radical);
    return ion;
}

// A formula found, kept compact until the ranking: its neutral counts lie in a shared pool,
// in a slot that a kept hit holds and a displaced one gives back.
struct Hit {
    std::size_t ion = 0;   // index into the ions searched
    std::size_t first = 0; // of its counts in the pool, one per range
    double mass = 0;
    double mz = 0;
    double ppm = 0;
    double rdbe = 0;
    double prior = 0;
    double score = 0;
};

// Atoms an ion takes away: the range of their element (none when the ranges lack it) and
// how many each molecule must hold.
struct TakenAtoms {
    std::optional<std::size_t> range;
    long long needed = 0;
};

// What an ion's candidates are written with: the ion's columns (those of the ranges and of
// its adducts), the atoms its adducts add there, each range's slot, and its formula writer.
struct IonShape {
    std::vector<int> columns;
    std::vector<long long> base;
    std::vector<std::size_t> slotOfRange;
    HillWriter writer{{}};
};

} // namespace

bool MassTolerance::accepts(double target, double mz) const {
    if (milliDaltons) {
        return std::abs(target - mz) * 1000 <= value;
    }
    // ppm of the measured target, as mass windows are set at the instrument (and as
    // ChemCalc's finder sets them): the same window for every formula
    return std::abs(target - mz) <= target * value * 1e-6;
}

double massScore(const MassTolerance& tolerance, double target, double mz) {
    const double halfWidth =
        tolerance.milliDaltons ? tolerance.value / 1000 : target * tolerance.value * 1e-6;
    const double error = (target - mz) / (halfWidth / 2);
    return -0.5 * error * error;
}

FindResult findFormulas(const FindQuery& query, const data::DataTables& tables, char separator,
                        const FindProgress& progress, const CandidateSink& sink) {
    if (!(query.mz > 0) || !std::isfinite(query.mz)) {
        throw text::Error("The target m/z must be a number above 0.");
    }
    if (!(query.tolerance.value > 0) || !std::isfinite(query.tolerance.value)) {
        throw text::Error("The tolerance must be a number above 0.");
    }
    const std::vector<std::string> symbols = formula::symbolsOf(tables.elements);
    FindResult result;
    result.elements = readElementRanges(query.elementRanges, symbols);

    std::vector<SearchElement> elements;
    std::vector<AtomTally> tallies;
    std::vector<std::string> rangeSymbols;
    for (std::size_t i = 0; i < result.elements.size(); ++i) {
        const ElementRange& range = result.elements[i];
        elements.push_back(
            {i, monoisotopicMass(tables, range.column, separator), range.minimum, range.maximum});
        tallies.push_back({range.symbol, 0, lowestValence(range.symbol)});
        rangeSymbols.push_back(range.symbol);
    }
    const HillWriter neutralWriter(rangeSymbols);

    // every ion is read before the walk, so that a refused one stops the search at once
    std::vector<SearchIon> ions;
    for (const std::string& ionText : query.ions) {
        ions.push_back(readSearchIon(ionText, symbols, tables, separator));
    }
    const std::size_t ranges = result.elements.size();
    std::vector<long long> pool; // the hits' neutral counts, one range after another
    const auto countsAt = [&](std::size_t first) {
        return std::vector<long long>(pool.begin() + static_cast<std::ptrdiff_t>(first),
                                      pool.begin() + static_cast<std::ptrdiff_t>(first + ranges));
    };
    // The order of rankCandidates: score, |ppm|, then the formula and ion texts, which are
    // written only for the rare hits that tie on both numbers.
    const auto better = [&](const Hit& a, const Hit& b) {
        if (a.score != b.score) {
            return a.score > b.score;
        }
        if (std::abs(a.ppm) != std::abs(b.ppm)) {
            return std::abs(a.ppm) < std::abs(b.ppm);
        }
        const std::string first = neutralWriter.write(countsAt(a.first));
        const std::string second = neutralWriter.write(countsAt(b.first));
        if (first != second) {
            return first < second;
        }
        return ions[a.ion].text < ions[b.ion].text;
    };
    std::vector<IonShape> ionShapes(ions.size());
    std::vector<long long> ionCounts; // one buffer for every candidate's ion
    const auto fillCandidate = [&](const Hit& hit, Candidate& candidate) {
        const SearchIon& ion = ions[hit.ion];
        const IonShape& shape = ionShapes[hit.ion];
        candidate.counts = countsAt(hit.first);
        ionCounts.assign(shape.base.begin(), shape.base.end());
        for (std::size_t i = 0; i < ranges; ++i) {
            ionCounts[shape.slotOfRange[i]] += ion.multiplier * candidate.counts[i];
        }
        candidate.ionAtoms.clear();
        if (query.withIonAtoms) {
            candidate.ionAtoms.reserve(shape.columns.size());
            for (std::size_t slot = 0; slot < shape.columns.size(); ++slot) {
                if (ionCounts[slot] > 0) {
                    candidate.ionAtoms.push_back({shape.columns[slot], ionCounts[slot]});
                }
            }
        }
        candidate.formula = neutralWriter.write(candidate.counts);
        candidate.ion = ion.text;
        candidate.ionFormula = shape.writer.write(ionCounts);
        candidate.charge = ion.charge;
        candidate.neutralMass = hit.mass;
        candidate.mz = hit.mz;
        candidate.ppm = hit.ppm;
        candidate.rdbe = hit.rdbe;
        candidate.prior = hit.prior;
        candidate.score = hit.score;
    };
    // Only what the report can show is held while the walk goes on: the best `keep` in a
    // bounded heap, or nothing when each candidate goes to the sink as it is found; every
    // hit only when all are asked for ranked.
    const bool streamed = static_cast<bool>(sink);
    const bool bounded = !streamed && query.keep > 0;
    std::vector<Hit> hits;
    BoundedBest<Hit, decltype(better)> best(bounded ? query.keep : 0, better);
    std::size_t scratch = 0; // the slot the next hit's counts go to, when they are not added
    if (streamed || bounded) {
        pool.resize(ranges);
    }
    Candidate sent; // one candidate's buffers for every one sent to the sink
    for (std::size_t ionIndex = 0; ionIndex < ions.size() && !result.cancelled; ++ionIndex) {
        const SearchIon& ion = ions[ionIndex];
        // an ion that takes atoms away needs at least as many in its molecules, which the
        // ion-atoms rule checks: the formulas that lack them are found and counted, or kept
        // by their mass alone with the rules off
        std::vector<TakenAtoms> taken;
        for (std::size_t column = 1; column < ion.netAtoms.size(); ++column) {
            if (ion.netAtoms[column] >= 0) {
                continue;
            }
            const long long needed = (-ion.netAtoms[column] + ion.multiplier - 1) / ion.multiplier;
            const auto ofColumn = [&](const ElementRange& r) {
                return r.column == static_cast<int>(column);
            };
            const auto range =
                std::find_if(result.elements.begin(), result.elements.end(), ofColumn);
            taken.push_back({range == result.elements.end()
                                 ? std::nullopt
                                 : std::optional<std::size_t>(range - result.elements.begin()),
                             needed});
        }
        const auto lacksTakenAtoms = [&] {
            return std::any_of(taken.begin(), taken.end(), [&](const TakenAtoms& atoms) {
                return !atoms.range || tallies[*atoms.range].count < atoms.needed;
            });
        };
        // the ion's window in neutral masses, a little wide; every hit is checked exactly
        const double width = query.tolerance.milliDaltons
                                 ? query.tolerance.value / 1000
                                 : query.mz * query.tolerance.value * 1e-6 * 1.01;
        const double z = std::abs(ion.charge);
        const auto neutralOf = [&](double mz) {
            return static_cast<double>((static_cast<long double>(mz) * z +
                                        ion.charge * accurate::electronMass - ion.adductMass) /
                                       ion.multiplier);
        };
        const double slack = 1e-6;
        const double low = neutralOf(query.mz - width) - slack;
        const double high = neutralOf(query.mz + width) + slack;

        FormulaEnumerator enumerator(elements, low, high);
        // the ion's elements, by column: those of the ranges and those its adducts change
        std::vector<int> ionColumns;
        for (std::size_t column = 1; column < ion.netAtoms.size(); ++column) {
            const bool ranged = std::any_of(
                result.elements.begin(), result.elements.end(),
                [&](const ElementRange& r) { return r.column == static_cast<int>(column); });
            if (ranged || ion.netAtoms[column] != 0) {
                ionColumns.push_back(static_cast<int>(column));
            }
        }
        std::vector<std::string> ionSymbols;
        std::vector<long long> ionBase;
        for (const int column : ionColumns) {
            ionSymbols.push_back(symbols[static_cast<std::size_t>(column)]);
            ionBase.push_back(ion.netAtoms[static_cast<std::size_t>(column)]);
        }
        std::vector<std::size_t> ionSlotOfRange;
        for (const ElementRange& range : result.elements) {
            ionSlotOfRange.push_back(static_cast<std::size_t>(
                std::find(ionColumns.begin(), ionColumns.end(), range.column) -
                ionColumns.begin()));
        }
        ionShapes[ionIndex] = {ionColumns, ionBase, ionSlotOfRange, HillWriter(ionSymbols)};
        std::vector<std::size_t> order; // position in the enumerator of each range
        order.resize(result.elements.size());
        for (std::size_t p = 0; p < enumerator.elements().size(); ++p) {
            order[enumerator.elements()[p].range] = p;
        }
        const FindProgress ionProgress = progress ? FindProgress([&](double part) {
            return progress((static_cast<double>(ionIndex) + part) /
                            static_cast<double>(ions.size()));
        })
                                                  : FindProgress();
        const bool finished = enumerator.run(
            [&](const std::vector<long long>& counts) {
                long double mass = 0;
                long long atoms = 0;
                for (std::size_t i = 0; i < result.elements.size(); ++i) {
                    const long long n = counts[order[i]];
                    mass += static_cast<long double>(n) * elements[i].mass;
                    atoms += n;
                    tallies[i].count = n;
                }
                if (atoms == 0) {
                    return;
                }
                const double mz = accurate::mzOf(
                    static_cast<double>(ion.multiplier * mass + ion.adductMass), ion.charge);
                if (!query.tolerance.accepts(query.mz, mz)) {
                    return;
                }
                ++result.evaluated;
                if (query.rules.ionAtoms && !taken.empty() && lacksTakenAtoms()) {
                    ++result.removedByRules;
                    ++result.removedBy[static_cast<std::size_t>(Rule::IonAtoms)];
                    return;
                }
                if (const std::optional<Rule> broken = firstBrokenRule(
                        tallies, static_cast<double>(mass), query.rules, ion.oddValenceSum)) {
                    ++result.removedByRules;
                    ++result.removedBy[static_cast<std::size_t>(*broken)];
                    return;
                }
                // kept compact; the candidates are made once ranked, and only those kept
                Hit found;
                found.ion = ionIndex;
                found.first = streamed || bounded ? scratch : pool.size();
                if (!streamed && !bounded) {
                    pool.resize(pool.size() + ranges);
                }
                for (std::size_t i = 0; i < ranges; ++i) {
                    pool[found.first + i] = tallies[i].count;
                }
                found.mass = static_cast<double>(mass);
                found.mz = mz;
                found.ppm = (query.mz - mz) / mz * 1e6;
                found.rdbe = rdbeOf(tallies);
                found.prior = query.rules.compositionPrior
                                  ? query.rules.priorWeight * compositionPrior(tallies, found.mass)
                                  : 0;
                found.score = massScore(query.tolerance, query.mz, mz) + found.prior;
                ++result.found;
                if (streamed) {
                    fillCandidate(found, sent);
                    sink(sent);
                } else if (!bounded) {
                    hits.push_back(found);
                } else {
                    switch (best.offer(found)) {
                    case BoundedBest<Hit, decltype(better)>::Offer::Added:
                        // the added hit keeps the slot; the next one writes to a new one
                        scratch = pool.size();
                        pool.resize(pool.size() + ranges);
                        break;
                    case BoundedBest<Hit, decltype(better)>::Offer::Replaced:
                        scratch = found.first; // the displaced hit's slot
                        break;
                    case BoundedBest<Hit, decltype(better)>::Offer::Refused:
                        break;
                    }
                }
            },
            ionProgress);
        result.walked += enumerator.steps();
        result.cancelled = !finished;
    }
    if (bounded) {
        hits = best.takeBestFirst();
    } else {
        std::sort(hits.begin(), hits.end(), better);
    }
    result.candidates.reserve(hits.size());
    for (const Hit& hit : hits) {
        // made in place: a batch makes hundreds of thousands
        fillCandidate(hit, result.candidates.emplace_back());
    }
    return result;
}

void rankCandidates(std::vector<Candidate>& candidates) {
    // the order is found on compact keys and the candidates, each a few strings and
    // vectors, are moved once
    struct Key {
        double score;
        double absolutePpm;
        std::size_t index;
    };
    std::vector<Key> keys;
    keys.reserve(candidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        keys.push_back({candidates[i].score, std::abs(candidates[i].ppm), i});
    }
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        if (a.score != b.score) {
            return a.score > b.score;
        }
        if (a.absolutePpm != b.absolutePpm) {
            return a.absolutePpm < b.absolutePpm;
        }
        const Candidate& first = candidates[a.index];
        const Candidate& second = candidates[b.index];
        if (first.formula != second.formula) {
            return first.formula < second.formula;
        }
        return first.ion < second.ion;
    });
    std::vector<Candidate> ranked;
    ranked.reserve(candidates.size());
    for (const Key& key : keys) {
        ranked.push_back(std::move(candidates[key.index]));
    }
    candidates = std::move(ranked);
}

} // namespace orvane::find
