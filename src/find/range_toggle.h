#pragma once

#include <string>
#include <string_view>

namespace orvane::find {

/// The element ranges text with `symbol`'s range taken out where it has one ("Cl0-4" in
/// "C0-60 Cl0-4"), or added at the end as `symbol` + `added` where it has none, so that a
/// periodic picker can switch an element on and off. Ranges are whitespace-separated words
/// as readElementRanges writes them; a word belongs to `symbol` when it starts with it and a
/// digit follows ("C" does not take "Cl0-4" or "Co0-1").
std::string toggledElementRange(std::string_view ranges, std::string_view symbol,
                                std::string_view added = "0-10");

} // namespace orvane::find
