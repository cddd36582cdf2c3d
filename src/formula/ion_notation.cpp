#include "formula/ion_notation.h"

#include <cassert>
#include <climits>
#include <cmath>

#include "formula/formula_cursor.h"
#include "formula/formula_reader.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace orvane::formula {

namespace {

// The bytes of the radical marker that opens `rest`: "." or "•" (U+2022); 0 for none.
std::size_t radicalMarkerLength(std::string_view rest) {
    if (rest.substr(0, 1) == ".") {
        return 1;
    }
    return rest.substr(0, 3) == "\u2022" ? 3 : 0;
}

constexpr std::string_view label = "Ion notation";

// Terms end at the next sign or the closing bracket, so they hold neither, nor part
// separators; a fraction of an atom cannot be gained or lost.
constexpr FormulaGrammar termGrammar{false, false, true, "+-]", "in an adduct", false};

// A whole number of 1 or more at the cursor (k, a term's multiplier, z).
int readWhole(FormulaCursor& cursor, std::string_view what) {
    const WrittenNumber number = cursor.readNumber();
    std::string problem;
    if (!number.whole) {
        problem = " is not a whole number";
    } else if (number.value < 1) {
        problem = " must be at least 1";
    } else if (number.value > INT_MAX) {
        problem = " is too large";
    } else {
        return static_cast<int>(number.value);
    }
    throw cursor.refusal(std::string(what) + " " + FormulaCursor::quoted(number.text) + " at " +
                         cursor.positionText(number.offset) + problem);
}

AdductTerm readTerm(FormulaCursor& cursor, const std::vector<std::string>& symbols) {
    AdductTerm term;
    term.sign = cursor.peek() == '+' ? 1 : -1;
    cursor.advance();
    cursor.skipBlanks();
    if (cursor.atDigit()) {
        term.multiplier = readWhole(cursor, "the multiplier");
        cursor.skipBlanks();
    }
    const std::size_t begin = cursor.offset();
    term.counts = readFormulaAt(cursor, symbols, termGrammar);
    term.formula = text::trimBlanks(cursor.text().substr(begin, cursor.offset() - begin));
    for (ElementCount& entry : term.counts.counts) {
        entry.count *= term.multiplier;
        entry.countText = text::generalText(entry.count, cursor.separator());
    }
    return term;
}

// The term as written, without blanks: "+2Na".
std::string termText(const AdductTerm& term) {
    std::string written(term.sign > 0 ? "+" : "-");
    if (term.multiplier != 1) {
        written += std::to_string(term.multiplier);
    }
    return written + term.formula;
}

} // namespace

IonNotation readIonNotation(std::string_view notation, const std::vector<std::string>& symbols,
                            char separator) {
    FormulaCursor cursor(notation, label, separator);
    IonNotation ion;
    ion.text = notation;
    cursor.skipBlanks();
    const std::size_t open = cursor.offset();
    if (cursor.peek() != '[') {
        throw cursor.refusal("\"[\" is expected at " + cursor.positionText(open) +
                             ", as in \"[M+H]+\"");
    }
    cursor.advance();
    cursor.skipBlanks();
    if (cursor.atDigit()) {
        ion.moleculeMultiplier = readWhole(cursor, "the multiplier");
        cursor.skipBlanks();
    }
    if (cursor.peek() != 'M') {
        throw cursor.refusal("\"M\" for the molecule is expected at " +
                             cursor.positionText(cursor.offset()));
    }
    cursor.advance();
    for (;;) {
        cursor.skipBlanks();
        if (cursor.peek() == '+' || cursor.peek() == '-') {
            ion.terms.push_back(readTerm(cursor, symbols));
        } else if (cursor.peek() == ']') {
            cursor.advance();
            break;
        } else if (cursor.atEnd()) {
            throw cursor.refusal("the bracket \"[\" at " + cursor.positionText(open) +
                                 " is never closed");
        } else {
            throw cursor.refusal("\"+\", \"-\" or \"]\" is expected at " +
                                 cursor.positionText(cursor.offset()));
        }
    }
    cursor.skipBlanks();
    int z = 1;
    if (cursor.atDigit()) {
        z = readWhole(cursor, "the charge");
        cursor.skipBlanks();
    }
    if (cursor.peek() != '+' && cursor.peek() != '-') {
        throw cursor.refusal("the charge sign \"+\" or \"-\" is expected at " +
                             cursor.positionText(cursor.offset()));
    }
    ion.charge = cursor.peek() == '+' ? z : -z;
    cursor.advance();
    cursor.skipBlanks();
    // "[M]+." or "[M]+•": an odd-electron ion, such as a neutral that lost an electron
    if (const std::size_t marker = radicalMarkerLength(cursor.text().substr(cursor.offset()))) {
        ion.radical = true;
        cursor.advance(marker);
        cursor.skipBlanks();
    }
    if (!cursor.atEnd()) {
        const std::size_t at = cursor.offset();
        throw cursor.refusal(
            "the character " + FormulaCursor::quoted(cursor.characterAt(at)) + " at " +
            cursor.positionText(at) + " follows the charge" +
            (cursor.atDigit() ? "; the number goes before the sign, as in \"2+\"" : ""));
    }
    return ion;
}

std::vector<long long> ionAtomCounts(const IonNotation& ion,
                                     const std::vector<long long>& moleculeCounts,
                                     const std::vector<std::string>& symbols) {
    assert(moleculeCounts.size() == symbols.size());
    const FormulaCursor words(ion.text, label, '.');
    const auto tooLarge = [&](std::size_t column) {
        return words.refusal("the ion's count of " + symbols[column] + " is too large");
    };
    const std::size_t n = symbols.size();
    std::vector<long long> kept(n); // k times the molecule, then with the gains
    std::vector<long long> lost(n);
    for (std::size_t c = 1; c < n; ++c) {
        assert(moleculeCounts[c] >= 0);
        if (__builtin_mul_overflow(moleculeCounts[c], ion.moleculeMultiplier, &kept[c])) {
            throw tooLarge(c);
        }
    }
    for (const AdductTerm& term : ion.terms) {
        for (const ElementCount& entry : term.counts.counts) {
            const auto c = static_cast<std::size_t>(entry.column);
            assert(c > 0 && c < n);
            if (entry.count != std::floor(entry.count)) {
                throw words.refusal("the term " + FormulaCursor::quoted(termText(term)) +
                                    " does not give a whole number of " + symbols[c] + " atoms");
            }
            if (!(entry.count < 0x1p62L)) {
                throw tooLarge(c);
            }
            long long& sum = term.sign > 0 ? kept[c] : lost[c];
            if (__builtin_add_overflow(sum, static_cast<long long>(entry.count), &sum)) {
                throw tooLarge(c);
            }
        }
    }
    for (std::size_t c = 1; c < n; ++c) {
        if (lost[c] > kept[c]) {
            const std::string k =
                ion.moleculeMultiplier == 1 ? "" : std::to_string(ion.moleculeMultiplier);
            throw words.refusal("it takes away " + std::to_string(lost[c]) + " " + symbols[c] +
                                " but " + k + "M and the added atoms give only " +
                                std::to_string(kept[c]));
        }
        kept[c] -= lost[c];
    }
    return kept;
}

std::string writtenIon(const IonNotation& ion,
                       const std::function<std::string(const AdductTerm&)>& multiplierOf,
                       long long charge, std::string_view chargeDigits) {
    std::string text = "[";
    if (ion.moleculeMultiplier != 1) {
        text += std::to_string(ion.moleculeMultiplier);
    }
    text += "M";
    for (const AdductTerm& term : ion.terms) {
        text += term.sign > 0 ? "+" : "-";
        text += multiplierOf(term);
        text += term.formula;
    }
    text += "]";
    const long long size = charge < 0 ? -charge : charge;
    if (!chargeDigits.empty()) {
        text += chargeDigits;
    } else if (size != 1) {
        text += std::to_string(size);
    }
    text += charge < 0 ? "-" : "+";
    return ion.radical ? text + "." : text;
}

} // namespace orvane::formula
