#include "cli/calculation_report.h"

#include <string>

#include "cli/round_trip.h"
#include "data/data_tables.h"
#include "ion/molecule_composition.h"
#include "text/shortest_text.h"

namespace orvane::cli {

void writeCalculationReport(std::ostream& out, const session::SessionState& state,
                            bool withPattern) {
    const session::ViewTexts& texts = state.texts;
    out << "Formula\t" << texts.formulaText << '\n';
    out << "FW\t" << texts.weightText << '\n';
    out << "M/Z\t" << texts.averageMzText << '\n';
    for (const calc::WorkingElement& element : state.composition.elements) {
        if (element.labelIsotopes.empty()) {
            out << "Percent\t" << element.symbol << '\t'
                << state.tables.elements.cell(element.column, data::PercentRow) << '\n';
        }
    }
    out << "Composition";
    for (const ions::SymbolAmount& amount : ions::moleculeComposition(state.composition)) {
        out << '\t' << amount.symbol << '\t' << text::shortestText(amount.count);
    }
    out << '\n';
    for (const calc::LabelElement& label : state.labels) {
        const data::Isotope& isotope = label.isotopes.front();
        out << "Labels\t" << label.symbol << '\t' << label.countText << '\t'
            << text::shortestText(isotope.probability) << '\t' << roundTrip(isotope.mass) << '\n';
    }
    if (!withPattern) {
        return;
    }
    const calc::PatternState& pattern = state.pattern;
    out << "N0\t" << pattern.n0 << '\n';
    out << "W\t" << pattern.w << '\n';
    out << "Centroid\t" << roundTrip(pattern.centroid) << '\n';
    out << "s\t" << state.plotState.s << '\n';
    out << "Range\t" << texts.lowerMzText << '\t' << texts.upperMzText << '\n';
    const long long first = static_cast<long long>(pattern.n0) - pattern.w;
    const long long last = static_cast<long long>(pattern.n0) + pattern.w;
    for (long long index = first; index <= last; ++index) {
        out << "Peak\t" << index << '\t' << roundTrip(pattern.at(index)) << '\n';
    }
}

} // namespace orvane::cli
