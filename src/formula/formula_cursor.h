#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/error.h"
#include "text/extended.h"

namespace orvane::formula {

// A number as written in a formula: digits with at most one decimal point between digits.
struct WrittenNumber {
    text::Extended value = 0;
    std::string_view text;  // as written, decimal point included
    std::size_t offset = 0; // byte offset of the first digit
    bool whole = true;      // written without a decimal point
};

// Walks a formula or a notation that holds formulas, byte by byte, and words its refusals.
// Blanks (spaces and tabs) separate tokens and are skipped between them; they never join
// the letters of a symbol or the digits of a number. Positions in messages count
// characters from 1, so "·" (two bytes) is one.
class FormulaCursor {
public:
    /// A cursor at the start of `text`; `label` opens every refusal ("Formula"), and a
    /// decimal point is "." or `separator`.
    FormulaCursor(std::string_view text, std::string_view label, char separator);

    std::string_view text() const { return m_text; }
    std::string_view label() const { return m_label; }
    char separator() const { return m_separator; }
    std::size_t offset() const { return m_offset; }
    bool atEnd() const { return m_offset >= m_text.size(); }
    /// The byte at the cursor; '\0' at the end.
    char peek() const { return atEnd() ? '\0' : m_text[m_offset]; }
    /// True when the byte at the cursor is a digit.
    bool atDigit() const { return isDigit(peek()); }
    /// Moves `bytes` bytes on.
    void advance(std::size_t bytes = 1);
    /// Moves past spaces and tabs.
    void skipBlanks();
    /// True when the byte at the cursor is "." or the separator with a digit right before
    /// and right after it, and not a hydrate point (see pointKind).
    bool atDecimalPoint() const;
    /// The length in bytes of the part separator at the cursor ("·", "•", "*", or a "."
    /// that is no decimal point); 0 when there is none.
    std::size_t partSeparatorLength() const;
    /// Reads the number at the cursor, which is at a digit. Refuses a second decimal
    /// point, a point that reads both as a decimal point and as a hydrate separator, and a
    /// number beyond the extended range.
    WrittenNumber readNumber();

    /// "position N": the character position of the byte at `offset`; the end of the text
    /// is one past its last character.
    std::string positionText(std::size_t offset) const;
    /// The whole UTF-8 character that starts at `offset`.
    std::string_view characterAt(std::size_t offset) const;
    /// The refusal `<label> "<text>": <detail>.`
    text::Error refusal(const std::string& detail) const;

    /// The text in double quotes, for messages: a NUL as "\0", and a text of more than
    /// 200 bytes cut there (at a whole character) with "…".
    static std::string quoted(std::string_view text);
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

private:
    // What a "." between digits is. A count followed by a point, a number and a compound
    // is written by chemists for a hydrate ("FeCl3.6H2O"); where a blank comes between the
    // number and what follows, or a single element follows ("C2.5H6"), both readings are
    // as likely.
    enum class PointKind { Decimal, Hydrate, Ambiguous };
    PointKind pointKind(std::size_t offset) const;
    bool isPointAt(std::size_t offset) const;

    std::string_view m_text;
    std::string_view m_label;
    char m_separator;
    std::size_t m_offset = 0;
};

} // namespace orvane::formula
