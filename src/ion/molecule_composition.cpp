#include "ion/molecule_composition.h"

#include <algorithm>

#include "formula/element_symbols.h"
#include "formula/hill_order.h"

namespace orvane::ions {

namespace {

// The isotope of a label symbol without its purity: "[13C]" of "[13C]{99%}".
std::string isotopeOf(const std::string& symbol) {
    const std::size_t close = symbol.find(']');
    return symbol.starts_with('[') && close != std::string::npos ? symbol.substr(0, close + 1)
                                                                 : symbol;
}

// Sums amounts of one symbol, then puts them in Hill order.
std::vector<SymbolAmount> inHillOrder(const std::vector<SymbolAmount>& amounts) {
    std::vector<SymbolAmount> summed;
    for (const SymbolAmount& amount : amounts) {
        const auto same = std::find_if(summed.begin(), summed.end(), [&](const SymbolAmount& s) {
            return s.symbol == amount.symbol;
        });
        if (same == summed.end()) {
            summed.push_back(amount);
        } else {
            same->count += amount.count;
        }
    }
    // the Hill order of the symbols, each carrying its index as its count text
    std::vector<formula::SymbolCount> order;
    for (std::size_t i = 0; i < summed.size(); ++i) {
        order.push_back({summed[i].symbol, std::to_string(i)});
    }
    std::vector<SymbolAmount> result;
    for (const formula::SymbolCount& entry : formula::hillOrder(std::move(order))) {
        result.push_back(summed[static_cast<std::size_t>(std::stoul(entry.count))]);
    }
    return result;
}

} // namespace

std::vector<SymbolAmount> moleculeComposition(const calc::Composition& composition) {
    std::vector<SymbolAmount> amounts;
    for (const calc::WorkingElement& element : composition.elements) {
        amounts.push_back({isotopeOf(element.symbol), element.count});
    }
    return inHillOrder(amounts);
}

std::vector<SymbolAmount> ionComposition(const data::DataTables& tables, const IonResult& ion) {
    const std::vector<std::string> symbols = formula::symbolsOf(tables.elements);
    std::vector<SymbolAmount> amounts;
    for (const accurate::AtomCount& atoms : ion.ionAtoms) {
        amounts.push_back(
            {symbols.at(static_cast<std::size_t>(atoms.column)), static_cast<double>(atoms.atoms)});
    }
    for (const accurate::LabelAtoms& label : ion.ionLabels) {
        amounts.push_back({isotopeOf(label.isotopes.symbol), static_cast<double>(label.atoms)});
    }
    return inHillOrder(amounts);
}

} // namespace orvane::ions
