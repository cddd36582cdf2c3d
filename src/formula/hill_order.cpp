#include "formula/hill_order.h"

#include <algorithm>
#include <string_view>
#include <tuple>

namespace orvane::formula {

namespace {

// The element of a symbol: "C" of "C" and of the label "[13C]{99%}".
std::string_view elementOf(std::string_view symbol) {
    if (!symbol.starts_with('[')) {
        return symbol;
    }
    const std::size_t first = symbol.find_first_not_of("0123456789", 1);
    const std::size_t close = symbol.find(']');
    if (first == std::string_view::npos || close == std::string_view::npos || close < first) {
        return symbol;
    }
    return symbol.substr(first, close - first);
}

} // namespace

std::vector<SymbolCount> hillOrder(std::vector<SymbolCount> elements) {
    // a label counts as its element: labelled glucose is carbon chemistry
    const bool hasCarbon = std::any_of(elements.begin(), elements.end(), [](const SymbolCount& e) {
        return elementOf(e.symbol) == "C";
    });
    const auto rank = [hasCarbon](std::string_view element) {
        if (hasCarbon && element == "C") {
            return 0;
        }
        if (hasCarbon && element == "H") {
            return 1;
        }
        return 2;
    };
    // each label right after its element, labels by their own text ("[12C]" before "[13C]")
    const auto key = [&](const SymbolCount& e) {
        const std::string_view element = elementOf(e.symbol);
        return std::make_tuple(rank(element), element, e.symbol.starts_with('['), e.symbol.size(),
                               std::string_view(e.symbol));
    };
    std::stable_sort(elements.begin(), elements.end(),
                     [&](const SymbolCount& a, const SymbolCount& b) { return key(a) < key(b); });
    return elements;
}

std::string hillFormula(std::vector<SymbolCount> elements) {
    elements = hillOrder(std::move(elements));
    std::string text;
    for (const SymbolCount& element : elements) {
        text += element.symbol;
        if (element.count != "1") {
            text += element.count;
        }
    }
    return text;
}

} // namespace orvane::formula
