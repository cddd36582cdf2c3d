#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orvane::cli {

// The count text to write into one element's count cell.
struct ElementCount {
    std::string symbol;
    std::string countText;
};

/// Reads a formula such as "C6H12O6", "Cl2", "C2Br" or "C0.3" against the symbols of
/// the loaded element table: at each place the longest matching symbol (case-sensitive),
/// then an optional count (digits, optionally "." and more digits; none means 1). A
/// repeated symbol adds up. Returns the counts in order of first appearance, written with
/// `separator`. Throws std::invalid_argument naming what could not be read.
std::vector<ElementCount> parseFormula(const std::string& formula,
                                       const std::vector<std::string>& symbols, char separator);

} // namespace orvane::cli
