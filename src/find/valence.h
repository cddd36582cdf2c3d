#pragma once

#include <string_view>

namespace orvane::find {

/// The lowest common valence of an element: 1 for H, the alkali metals and the halogens,
/// 2 for O, S, Se, Te and the alkaline earths, 3 for B, Al, N, P, As, Sb, 4 for C, Si, Ge,
/// Sn; 2 for every other symbol, which so adds nothing to the double bond equivalents.
int lowestValence(std::string_view symbol);

} // namespace orvane::find
