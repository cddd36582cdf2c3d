#include "find/formula_search.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "accurate/element_isotopes.h"
#include "accurate/ion_mz.h"
#include "find/composition_prior.h"
#include "find/mass_table.h"
#include "find/valence.h"
#include "formula/adduct_charge.h"
#include "formula/element_symbols.h"
#include "formula/ion_notation.h"
#include "text/error.h"

namespace orvane::find {

namespace {

// One element of the search with the mass of its most abundant isotope.
struct SearchElement {
    std::size_t range = 0; // index into the ranges as written
    double mass = 0;
    long long minimum = 0;
    long long maximum = 0;
};

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

// Walks the counts heaviest element first; each count's range is cut to what the lighter
// elements can still make up between their smallest and largest masses, so no branch
// that cannot reach the window is entered. The lightest two elements, the most counts of
// all, are looked up together in a table by mass.
class Enumerator {
public:
    Enumerator(std::vector<SearchElement> elements, double low, double high)
        : m_elements(std::move(elements)), m_low(low), m_high(high) {
        std::sort(m_elements.begin(), m_elements.end(),
                  [](const SearchElement& a, const SearchElement& b) { return a.mass > b.mass; });
        const std::size_t n = m_elements.size();
        m_lightestRest.assign(n + 1, 0);
        m_heaviestRest.assign(n + 1, 0);
        for (std::size_t i = n; i-- > 0;) {
            m_lightestRest[i] = m_lightestRest[i + 1] +
                                static_cast<double>(m_elements[i].minimum) * m_elements[i].mass;
            m_heaviestRest[i] = m_heaviestRest[i + 1] +
                                static_cast<double>(m_elements[i].maximum) * m_elements[i].mass;
        }
        m_counts.assign(n, 0);
        // the lightest two: a table of three costs more to build for each search than its
        // lookups save; counts beyond the window's mass cannot take part
        if (n >= 2) {
            std::vector<CountRange> ranges;
            for (std::size_t i = n - 2; i < n; ++i) {
                const SearchElement& element = m_elements[i];
                const double reachable = std::max(std::floor(high / element.mass), -1.0);
                ranges.push_back({element.mass, element.minimum,
                                  std::min(element.maximum, static_cast<long long>(reachable))});
            }
            if (MassTable::sizeOf(ranges) > 0) {
                m_table.emplace(ranges, high - low);
                m_tableFrom = n - 2;
            }
        }
    }

    const std::vector<SearchElement>& elements() const { return m_elements; }

    /// Calls `hit(counts)` for every formula whose mass lies in the window, and `progress`
    /// (when given) with the part walked, 0 to 1, now and then; false from it stops the walk.
    /// False when it was stopped.
    template <typename Hit> bool run(Hit&& hit, const FindProgress& progress) {
        m_progress = &progress;
        m_stopped = false;
        descend(0, 0.0, hit);
        return !m_stopped;
    }

private:
    template <typename Hit> void descend(std::size_t i, double partial, Hit& hit) {
        const std::size_t n = m_elements.size();
        if (i == n) {
            if (partial >= m_low && partial <= m_high) {
                hit(m_counts);
            }
            return;
        }
        if (m_table && i == m_tableFrom) {
            m_table->forEachIn(m_low - partial, m_high - partial, [&](const auto& counts, double) {
                for (std::size_t j = i; j < n; ++j) {
                    m_counts[j] = counts[j - i];
                }
                hit(m_counts);
            });
            std::fill(m_counts.begin() + static_cast<std::ptrdiff_t>(i), m_counts.end(), 0);
            return;
        }
        const SearchElement& element = m_elements[i];
        const double lowest = (m_low - partial - m_heaviestRest[i + 1]) / element.mass;
        const double highest = (m_high - partial - m_lightestRest[i + 1]) / element.mass;
        if (highest < static_cast<double>(element.minimum) ||
            lowest > static_cast<double>(element.maximum)) {
            return;
        }
        const long long from = std::max(element.minimum, static_cast<long long>(std::ceil(lowest)));
        const long long to = std::min(element.maximum, static_cast<long long>(std::floor(highest)));
        for (long long count = from; count <= to && !m_stopped; ++count) {
            // the heaviest elements' counts, a few hundred steps, tell how far the walk is
            if (i < reportedDepth && *m_progress) {
                m_parts[i] = {count - from, to - from + 1};
                if (!(*m_progress)(walked(i))) {
                    m_stopped = true;
                    break;
                }
            }
            m_counts[i] = count;
            descend(i + 1, partial + static_cast<double>(count) * element.mass, hit);
        }
        m_counts[i] = 0;
    }

    // The part of the walk done, from the steps of the first `depth` + 1 levels.
    double walked(std::size_t depth) const {
        double part = 0;
        double scale = 1;
        for (std::size_t i = 0; i <= depth; ++i) {
            scale /= static_cast<double>(m_parts[i].second);
            part += static_cast<double>(m_parts[i].first) * scale;
        }
        return part;
    }

    static constexpr std::size_t reportedDepth = 3;
    const FindProgress* m_progress = nullptr;
    bool m_stopped = false;
    std::array<std::pair<long long, long long>, reportedDepth> m_parts{}; // step of steps

    std::vector<SearchElement> m_elements;
    double m_low = 0;
    double m_high = 0;
    std::vector<double> m_lightestRest; // of elements i.. at their minima
    std::vector<double> m_heaviestRest; // of elements i.. at their maxima
    std::vector<long long> m_counts;    // by position in m_elements
    std::optional<MassTable> m_table;   // of the elements from m_tableFrom on
    std::size_t m_tableFrom = 0;
};

// Writes formulas of a fixed list of elements in Hill order (as formula::hillFormula
// orders them), the two orders, with and without carbon, worked out once for all formulas
// of a search.
class HillWriter {
public:
    explicit HillWriter(std::vector<std::string> symbols) {
        std::vector<std::size_t> slots(symbols.size());
        std::optional<std::size_t> carbon;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            slots[i] = i;
            if (symbols[i] == "C") {
                carbon = i;
            }
        }
        m_carbon = carbon;
        std::vector<std::size_t> withoutCarbon = slots;
        std::stable_sort(withoutCarbon.begin(), withoutCarbon.end(),
                         [&](std::size_t a, std::size_t b) { return symbols[a] < symbols[b]; });
        const auto rank = [&](std::size_t slot) {
            return symbols[slot] == "C" ? 0 : symbols[slot] == "H" ? 1 : 2;
        };
        std::vector<std::size_t> withCarbon = slots;
        std::stable_sort(withCarbon.begin(), withCarbon.end(), [&](std::size_t a, std::size_t b) {
            return rank(a) != rank(b) ? rank(a) < rank(b) : symbols[a] < symbols[b];
        });
        std::vector<std::size_t> offsets;
        for (const std::string& symbol : symbols) {
            offsets.push_back(m_letters.size());
            m_letters += symbol;
        }
        const auto piecesOf = [&](const std::vector<std::size_t>& order) {
            std::vector<Piece> pieces;
            for (const std::size_t slot : order) {
                pieces.push_back({slot, offsets[slot], symbols[slot].size()});
            }
            return pieces;
        };
        m_withCarbon = piecesOf(withCarbon);
        m_withoutCarbon = piecesOf(withoutCarbon);
    }

    /// The formula of the counts, indexed like the symbols; counts of 0 are left out, and a
    /// negative one (an ion that takes atoms its molecule lacks) keeps its sign: "H-1".
    std::string write(const std::vector<long long>& counts) const {
        const bool carbon = m_carbon && counts[*m_carbon] > 0;
        // written into a buffer first: one string made per formula, hundreds of thousands
        // of them in a batch
        char buffer[256];
        char* at = buffer;
        char* const end = buffer + sizeof buffer;
        std::string text;
        for (const Piece& piece : carbon ? m_withCarbon : m_withoutCarbon) {
            const long long count = counts[piece.slot];
            if (count == 0) {
                continue;
            }
            if (end - at < static_cast<std::ptrdiff_t>(piece.length) + 24) {
                text.append(buffer, static_cast<std::size_t>(at - buffer));
                at = buffer;
            }
            if (piece.length > sizeof buffer - 24) {
                text.append(m_letters, piece.offset, piece.length); // a symbol of an edited table
            } else {
                at = std::copy_n(m_letters.data() + piece.offset, piece.length, at);
            }
            if (count < 0) {
                *at++ = '-';
                at = std::to_chars(at, end, -count).ptr;
            } else if (count < 10) {
                // most counts of a search are one or two digits
                if (count != 1) {
                    *at++ = static_cast<char>('0' + count);
                }
            } else if (count < 100) {
                *at++ = static_cast<char>('0' + count / 10);
                *at++ = static_cast<char>('0' + count % 10);
            } else {
                at = std::to_chars(at, end, count).ptr;
            }
        }
        text.append(buffer, static_cast<std::size_t>(at - buffer));
        return text;
    }

private:
    // An element in the order the formula writes it: its slot in the counts and where its
    // symbol lies in the letters of all symbols, which stay together in one block.
    struct Piece {
        std::size_t slot;
        std::size_t offset;
        std::size_t length;
    };
    std::string m_letters;
    std::optional<std::size_t> m_carbon;
    std::vector<Piece> m_withCarbon;
    std::vector<Piece> m_withoutCarbon;
};

// A formula found, kept compact until the ranking: its neutral counts lie in a shared pool.
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
                        const FindProgress& progress) {
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
    std::vector<Hit> hits;
    std::vector<long long> pool; // the hits' neutral counts, one range after another
    std::vector<IonShape> ionShapes(ions.size());
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

        Enumerator enumerator(elements, low, high);
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
                found.first = pool.size();
                for (std::size_t i = 0; i < result.elements.size(); ++i) {
                    pool.push_back(tallies[i].count);
                }
                found.mass = static_cast<double>(mass);
                found.mz = mz;
                found.ppm = (query.mz - mz) / mz * 1e6;
                found.rdbe = rdbeOf(tallies);
                found.prior = query.rules.compositionPrior
                                  ? query.rules.priorWeight * compositionPrior(tallies, found.mass)
                                  : 0;
                found.score = massScore(query.tolerance, query.mz, mz) + found.prior;
                hits.push_back(found);
            },
            ionProgress);
        result.cancelled = !finished;
    }
    result.found = hits.size();
    const std::size_t ranges = result.elements.size();
    const auto countsOf = [&](const Hit& hit) {
        return std::vector<long long>(pool.begin() + static_cast<std::ptrdiff_t>(hit.first),
                                      pool.begin() +
                                          static_cast<std::ptrdiff_t>(hit.first + ranges));
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
        const std::string first = neutralWriter.write(countsOf(a));
        const std::string second = neutralWriter.write(countsOf(b));
        if (first != second) {
            return first < second;
        }
        return ions[a.ion].text < ions[b.ion].text;
    };
    const std::size_t kept = query.keep == 0 ? hits.size() : std::min(query.keep, hits.size());
    if (kept < hits.size()) {
        std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(kept),
                          hits.end(), better);
        hits.resize(kept);
    } else {
        std::sort(hits.begin(), hits.end(), better);
    }
    result.candidates.reserve(hits.size());
    std::vector<long long> ionCounts; // one buffer for every candidate's ion
    for (const Hit& hit : hits) {
        const SearchIon& ion = ions[hit.ion];
        const IonShape& shape = ionShapes[hit.ion];
        // made in place: a batch makes hundreds of thousands
        Candidate& candidate = result.candidates.emplace_back();
        candidate.counts = countsOf(hit);
        ionCounts.assign(shape.base.begin(), shape.base.end());
        for (std::size_t i = 0; i < ranges; ++i) {
            ionCounts[shape.slotOfRange[i]] += ion.multiplier * candidate.counts[i];
        }
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
