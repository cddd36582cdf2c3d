#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "accurate/element_isotopes.h"

namespace orvane::tracer {

// The isotopes a correction uses in place of the loaded tables', as a peer's isotope table
// gives them (IsoCor's Isotopes.dat: element, mass, abundance), so that its numbers can be
// reproduced with its own data.
struct IsotopeTable {
    std::string fileName;
    // by element symbol, lightest first: mass numbers are the rounded masses, probabilities
    // the abundances as written (a 0 keeps its place, as IsoCor's gap of 35S)
    std::map<std::string, std::vector<accurate::Isotope>, std::less<>> elements;

    /// The isotopes of `symbol`; nullptr when the table has none.
    const std::vector<accurate::Isotope>* find(std::string_view symbol) const;
};

/// Reads an isotope table: comma-separated (TAB-separated when the header holds a TAB), a
/// header naming element, mass and abundance in any order (quoted or not; other columns
/// are not read), then one isotope a line. Raises text::Error naming the file, line and
/// column of a missing column, an empty element, a mass that is not a number above 0, an
/// abundance that is not a number of 0 to 1, two isotopes of an element with the same mass
/// number, an element whose abundances do not add up to 1 (within 1e-6), and a file
/// without isotopes.
IsotopeTable readIsotopeTable(std::string_view text, const std::string& fileName);

/// readIsotopeTable of the file at `path`, named by its path.
IsotopeTable readIsotopeTableFile(const std::string& path);

} // namespace orvane::tracer
