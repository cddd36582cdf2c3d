#pragma once

#include <string>
#include <string_view>

#include "measured/spectrum.h"

namespace orvane::measured {

// A peak list is text with one point per line: m/z, then intensity.
//  - Lines end at LF, CR LF or a lone CR. Empty lines and lines whose first non-blank
//    character is '#' are skipped wherever they stand.
//  - A line's fields are split at TAB when it holds one, else at ';', else at ',', else at
//    runs of blanks; blanks around a field are dropped, and so are empty trailing fields.
//  - Numbers have "." as the decimal point. A ',' is read as the decimal point too on lines
//    split at TAB or ';', where it cannot be a separator ("98,3;12,5").
//  - A data line is one whose first two fields are numbers. Lines before the first data line
//    that are not data lines are headers and are skipped; after it, every line must be a data
//    line, so that a damaged row is reported instead of silently dropped.
//  - A data line holds exactly two fields; m/z above 0, intensity not negative.
// The normal export layout ("   98.30<TAB>  0.000" CR LF) is such a list.

/// The points of a peak list text, sorted by m/z. Raises text::Error naming `fileName` and the
/// line ("peaks.txt, line 7: 'abc' is not a number"), or the file alone when no line is data.
Spectrum parsePeakList(std::string_view text, const std::string& fileName);

} // namespace orvane::measured
