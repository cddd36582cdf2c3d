#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/formula_counts.h"

namespace orvane::formula {

// One adduct term of an ion notation, such as "+2Na" or "-H2O".
struct AdductTerm {
    int sign = 1;         // +1 for atoms the ion gains, -1 for atoms it loses
    int multiplier = 1;   // the whole number before the formula
    std::string formula;  // the formula as written
    FormulaCounts counts; // the atoms of the whole term: multiplier times formula
};

// An ion notation "[kM±aX±bY…]z±" as read.
struct IonNotation {
    std::string text;           // as given, for messages
    int moleculeMultiplier = 1; // k
    std::vector<AdductTerm> terms;
    int charge = 1; // +z or -z
    // Written with a radical marker after the charge ("[M]+.", "[M]+•"): an odd-electron
    // ion. Without one an ion is taken as even-electron, so that "[M]+" is a cation such as
    // a quaternary ammonium measured as it is.
    bool radical = false;
};

/// Reads "[kM±aX±bY…]z±": the square brackets, then an optional whole k of 1 or more, "M",
/// adduct terms (a sign, an optional whole multiplier of 1 or more, a formula of element
/// symbols, whole counts and round brackets), then an optional whole z of 1 or more and
/// the charge sign, then an optional radical marker "." or "•". Blanks between tokens are ignored.
/// Refuses the text with text::Error naming the character position.
IonNotation readIonNotation(std::string_view notation, const std::vector<std::string>& symbols,
                            char separator);

/// A notation made from a read one: "[kM" and each term with the multiplier text
/// `multiplierOf` gives it ("" for none), then "]", `charge`'s digits (none for 1) and its
/// sign, and "." for a radical. `chargeDigits` replaces the digits where given ("z" for a
/// template).
std::string writtenIon(const IonNotation& ion,
                       const std::function<std::string(const AdductTerm&)>& multiplierOf,
                       long long charge, std::string_view chargeDigits = {});

/// The ion's atoms by element column: k times the molecule's atoms plus the atoms each term
/// adds, minus those it takes away. `moleculeCounts` is indexed like `symbols`. Refuses
/// with text::Error an ion that would have fewer than 0 atoms of an element, a term whose
/// atoms are not whole and a count beyond the 64-bit range.
std::vector<long long> ionAtomCounts(const IonNotation& ion,
                                     const std::vector<long long>& moleculeCounts,
                                     const std::vector<std::string>& symbols);

} // namespace orvane::formula
