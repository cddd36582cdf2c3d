#include "export/pattern_layouts.h"

#include "export/file_real.h"
#include "text/extended.h"

namespace orvane::exporting {

namespace {

constexpr const char* lineEnd = "\r\n";

/// The mass of index j puts the centroid on the formula weight; the charge does not enter.
std::string massText(const calc::PatternState& pattern, double formulaWeight, long long j) {
    const text::Extended mass = (static_cast<text::Extended>(formulaWeight) - pattern.n0) -
                                (static_cast<text::Extended>(pattern.centroid) - pattern.n0) + j;
    return fileReal(mass, 8, 2);
}

std::string intensityText(const calc::PatternState& pattern, long long j) {
    return fileReal(pattern.at(j), 7, 3);
}

} // namespace

std::string normalLayout(const calc::PatternState& pattern, double formulaWeight, int s) {
    std::string out;
    for (long long j = static_cast<long long>(pattern.n0) - s;
         j <= static_cast<long long>(pattern.n0) + s; ++j) {
        out += massText(pattern, formulaWeight, j);
        out += '\t';
        out += intensityText(pattern, j);
        out += lineEnd;
    }
    return out;
}

std::string specialLayout(const calc::PatternState& pattern, double formulaWeight, int s) {
    std::string out;
    // Each index gets a column of its own, so a line chart draws it as a separate stick.
    for (long long i = 0; i <= 2LL * s; ++i) {
        const long long j = static_cast<long long>(pattern.n0) - s + i;
        const std::string lead = massText(pattern, formulaWeight, j) +
                                 std::string(static_cast<std::size_t>(i) + 1, '\t');
        out += lead + "0" + lineEnd;
        out += lead + intensityText(pattern, j) + lineEnd;
    }
    return out;
}

} // namespace orvane::exporting
