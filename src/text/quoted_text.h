#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane::text {

/// The text in double quotes, for messages: a NUL as "\0", and a text of more than 200
/// bytes cut there (at a whole character) with "…".
std::string quotedText(std::string_view text);

/// "position N": the character position (from 1, a UTF-8 character counting once) of the
/// byte at `offset` of `text`; the end of the text is one past its last character.
std::string characterPositionText(std::string_view text, std::size_t offset);

/// The whole UTF-8 character of `text` that starts at `offset`.
std::string_view characterAt(std::string_view text, std::size_t offset);

} // namespace orvane::text
