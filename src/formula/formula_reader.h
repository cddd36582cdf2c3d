#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/formula_counts.h"
#include "formula/formula_cursor.h"
#include "formula/symbol_index.h"

namespace orvane::formula {

// The mass numbers of each column's isotopes, indexed like the symbols; may be empty.
using MassNumbers = std::vector<std::vector<long long>>;
// The atomic weights by column, indexed like the symbols; may be empty (averagine is then
// refused).
using ElementWeights = std::vector<std::optional<long double>>;

// How much of the formula grammar a reading allows. The whole-formula reading allows it
// all; a notation that embeds formulas narrows it to what cannot clash with its own marks.
struct FormulaGrammar {
    bool parts = true;        // part separators and a multiplier at the start of each part
    bool allBrackets = true;  // [ ] and { } as well as ( )
    bool wholeCounts = false; // refuse decimal counts
    std::string_view stops;   // bytes that end the reading (inside a bracket: never closed)
    std::string_view where;   // " in an adduct": what a narrowed refusal says
    bool labels = true;       // isotope labels: "[13C]", "D", "T", purities "{99%}"
};

/// Reads a formula against the element symbols by column (index 0 unused) and returns its
/// counts per column. A formula is parts joined by "·", "•", "*" or a "." that is no
/// decimal point, each part an optional multiplier then items; an item is an element
/// symbol (case-sensitive, the longest that matches, the lowest column among equal ones),
/// an isotope label, or a bracket (), [] or {} holding a formula of its own, then an
/// optional count (digits with "." or `separator` between digits; none is 1). An isotope
/// label is a square bracket holding a mass number and a symbol, with its count inside or
/// after it ("[13C]6", "[13C6]"), or D and T for [2H] and [3H] where the table has no such
/// symbol, then optionally the purity of the labelled positions in percent ("{99%}").
/// A "." after a count that is followed by a number and an element or bracket separates a
/// hydrate part ("FeCl3.6H2O"). Repeated elements and labels add up. Refuses with
/// text::Error naming the character position: a label whose mass number is not among
/// `labelNumbers` (natural and known isotopes; `massNumbers` when it is empty, anything
/// when both are), a point that reads both as a decimal point and as a hydrate separator,
/// and a multiplier at the start of the formula or of a bracket written right before an
/// element of which it is also a natural mass number ("13CH4", per `massNumbers`), each
/// with both readings.
/// Where an item may stand, "peptide(...)", "dna(...)", "rna(...)" and "averagine(MASS)"
/// read as sequence::readSequenceAt reads them, averagine by `weights`; a peptide's charge
/// "/z" is returned beside the counts. An index of the symbols, where given, only makes
/// the reading faster.
FormulaCounts readFormula(std::string_view formula, const std::vector<std::string>& symbols,
                          char separator, const MassNumbers& massNumbers = {},
                          const MassNumbers& labelNumbers = {}, const ElementWeights& weights = {},
                          const SymbolIndex* index = nullptr);

// What the reader takes from the loaded tables, gathered once: symbols by column, natural
// mass numbers, the mass numbers labels may name, and the weights averagine() uses.
struct ReaderTables {
    std::vector<std::string> symbols;
    MassNumbers massNumbers;
    MassNumbers labelNumbers;
    ElementWeights weights;
    SymbolIndex index; // of `symbols`
    // the weights as requireCountsInRange reads them (countRangeWeights)
    std::vector<std::optional<double>> countWeights;
};

/// readFormula with what the tables give.
inline FormulaCounts readFormula(std::string_view formula, const ReaderTables& tables,
                                 char separator) {
    return readFormula(formula, tables.symbols, separator, tables.massNumbers, tables.labelNumbers,
                       tables.weights, &tables.index);
}

/// Reads a formula from the cursor on, with the given grammar, and leaves the cursor at
/// the end or at the first stop byte outside what it read. Refusals name positions in
/// the cursor's whole text.
FormulaCounts readFormulaAt(FormulaCursor& cursor, const std::vector<std::string>& symbols,
                            const FormulaGrammar& grammar, const MassNumbers& massNumbers = {},
                            const MassNumbers& labelNumbers = {},
                            const ElementWeights& weights = {}, const SymbolIndex* index = nullptr);

} // namespace orvane::formula
