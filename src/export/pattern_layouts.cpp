#include "export/pattern_layouts.h"

#include <algorithm>

#include "export/file_real.h"
#include "text/extended.h"

namespace orvane::exporting {

namespace {

constexpr std::string_view lineEnd = "\r\n";

/// The mass of index j puts the centroid on the formula weight; the charge does not enter.
std::string massText(const calc::PatternState& pattern, double formulaWeight, long long j) {
    const text::Extended mass = (static_cast<text::Extended>(formulaWeight) - pattern.n0) -
                                (static_cast<text::Extended>(pattern.centroid) - pattern.n0) + j;
    return fileReal(mass, 8, 2);
}

std::string intensityText(const calc::PatternState& pattern, long long j) {
    return fileReal(pattern.at(j), 7, 3);
}

/// Writes `count` TABs from one fixed block, however many there are.
void writeTabs(OutputSink& out, unsigned long long count) {
    static const std::string tabs(4096, '\t');
    while (count > 0) {
        const auto piece = std::min<unsigned long long>(count, tabs.size());
        out.write(std::string_view(tabs).substr(0, piece));
        count -= piece;
    }
}

} // namespace

void writeNormalLayout(OutputSink& out, const calc::PatternState& pattern, double formulaWeight,
                       long long first, long long last) {
    // counted so that a span ending at the largest index does not step past it
    for (long long j = first; j <= last; ++j) {
        std::string line = massText(pattern, formulaWeight, j);
        line += '\t';
        line += intensityText(pattern, j);
        line += lineEnd;
        out.write(line);
        if (j == last) {
            break;
        }
    }
}

void writeSpecialLayout(OutputSink& out, const calc::PatternState& pattern, double formulaWeight,
                        long long first, long long last) {
    // Each index gets a column of its own, so a line chart draws it as a separate stick.
    for (long long j = first; j <= last; ++j) {
        const std::string mass = massText(pattern, formulaWeight, j);
        const unsigned long long tabs =
            static_cast<unsigned long long>(j) - static_cast<unsigned long long>(first) + 1;
        out.write(mass);
        writeTabs(out, tabs);
        out.write("0\r\n");
        out.write(mass);
        writeTabs(out, tabs);
        out.write(intensityText(pattern, j));
        out.write(lineEnd);
        if (j == last) {
            break;
        }
    }
}

std::string normalLayout(const calc::PatternState& pattern, double formulaWeight, long long first,
                         long long last) {
    StringSink out;
    writeNormalLayout(out, pattern, formulaWeight, first, last);
    return out.text();
}

std::string specialLayout(const calc::PatternState& pattern, double formulaWeight, long long first,
                          long long last) {
    StringSink out;
    writeSpecialLayout(out, pattern, formulaWeight, first, last);
    return out.text();
}

} // namespace orvane::exporting
