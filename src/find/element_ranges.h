#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::find {

// The ranges searched when none are given: the elements of most small organic molecules.
inline constexpr const char* defaultElementRanges =
    "C0-60 H0-120 N0-10 O0-20 P0-3 S0-4 Cl0-4 Br0-3";

// The largest count a range may name; the mass bounds the search long before it.
inline constexpr long long largestRangeCount = 999'999;

// How many atoms of one element a formula may hold.
struct ElementRange {
    int column = 0; // element-table column, 1 or more
    std::string symbol;
    long long minimum = 0;
    long long maximum = 0;
};

/// Reads element ranges such as "C0-60 H0-120 Cl0-4" or "C2-10H4": each an element symbol
/// of the table (the longest that matches), then a whole count or "min-max"; blanks between
/// ranges are optional. Returns them in the order written. Refuses with text::Error naming
/// the character position: a text that is no symbol, a missing or non-whole count, a
/// maximum below the minimum, a count above largestRangeCount, an element named twice, and
/// an empty text.
std::vector<ElementRange> readElementRanges(std::string_view text,
                                            const std::vector<std::string>& symbols);

} // namespace orvane::find
