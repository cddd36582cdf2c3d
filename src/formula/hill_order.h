#pragma once

#include <string>
#include <vector>

namespace orvane::formula {

// An element of a formula with its count as it is to be written ("1" is left out).
struct SymbolCount {
    std::string symbol;
    std::string count;
};

/// The elements in Hill order (see hillFormula); labels ("[13C]") right after their
/// element, and labelled carbon counts as carbon.
std::vector<SymbolCount> hillOrder(std::vector<SymbolCount> elements);

/// The formula in Hill order: C first and H second when there is carbon, then every other
/// symbol alphabetically; without carbon all symbols alphabetically. "C8H10N4O2".
std::string hillFormula(std::vector<SymbolCount> elements);

} // namespace orvane::formula
