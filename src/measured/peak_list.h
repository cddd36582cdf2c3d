#pragma once

#include <cstddef>
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

// How much of a file may go by before a peak list is known not to be one.
inline constexpr std::size_t peakListSearchBytes = 1 << 20;

// Reads a peak list piece by piece as it comes from a file or a pipe, so that the text is
// never held whole: only an unfinished line waits for the next piece. What is clearly no
// peak list (no data line in the first peakListSearchBytes, a line longer than that) and
// a list of more than maxPoints points are refused as soon as they show.
class PeakListReader {
public:
    explicit PeakListReader(std::string fileName, std::size_t searchBytes = peakListSearchBytes,
                            std::size_t maxPoints = maxSpectrumPoints);

    /// Reads the next bytes of the text; raises text::Error as parsePeakList does.
    void read(std::string_view bytes);
    /// The points once the text has ended, sorted by m/z; raises text::Error when no line
    /// held data or the last line is bad.
    Spectrum finish();

private:
    void readLine(std::string_view line);
    void refuseEarly() const;

    std::string m_fileName;
    std::size_t m_searchBytes;
    std::size_t m_maxPoints;
    std::string m_pending;      // the start of a line that has not ended yet
    bool m_afterCr = false;     // a '\n' next belongs to the CR before it
    std::size_t m_consumed = 0; // bytes of ended lines
    int m_lineNumber = 0;
    Spectrum m_spectrum;
};

/// The points of a peak list text, sorted by m/z. Raises text::Error naming `fileName` and the
/// line ("peaks.txt, line 7: 'abc' is not a number"), or the file alone when no line is data.
Spectrum parsePeakList(std::string_view text, const std::string& fileName);

} // namespace orvane::measured
