#pragma once

namespace orvane::text {

/// The bracket that closes `opening` among "(", "[" and "{"; 0 for any other character.
constexpr char closingBracket(char opening) {
    switch (opening) {
    case '(':
        return ')';
    case '[':
        return ']';
    case '{':
        return '}';
    default:
        return 0;
    }
}

} // namespace orvane::text
