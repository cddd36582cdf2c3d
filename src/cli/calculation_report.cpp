#include "cli/calculation_report.h"

#include <cstdio>
#include <string>

#include "data/data_tables.h"

namespace orvane::cli {

namespace {

// Enough digits to read the same double back.
std::string roundTrip(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

void writeCalculationReport(std::ostream& out, const Session& session) {
    const calc::Composition& composition = session.composition;
    out << "Formula\t" << composition.formulaText << '\n';
    out << "FW\t" << composition.weightText << '\n';
    out << "M/Z\t" << composition.fw1Text << '\n';
    for (const calc::WorkingElement& element : composition.elements) {
        out << "Percent\t" << element.symbol << '\t'
            << session.tables.elements.cell(element.column, data::PercentRow) << '\n';
    }
    const calc::PatternState& pattern = session.pattern;
    out << "N0\t" << pattern.n0 << '\n';
    out << "W\t" << pattern.w << '\n';
    out << "Centroid\t" << roundTrip(pattern.centroid) << '\n';
    out << "s\t" << session.plotState.s << '\n';
    out << "Range\t" << session.controls.edit1 << '\t' << session.controls.edit2 << '\n';
    const long long first = static_cast<long long>(pattern.n0) - pattern.w;
    const long long last = static_cast<long long>(pattern.n0) + pattern.w;
    for (long long index = first; index <= last; ++index) {
        out << "Peak\t" << index << '\t' << roundTrip(pattern.at(index)) << '\n';
    }
}

} // namespace orvane::cli
