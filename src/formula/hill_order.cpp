#include "formula/hill_order.h"

#include <algorithm>

namespace orvane::formula {

std::string hillFormula(std::vector<SymbolCount> elements) {
    const bool hasCarbon = std::any_of(elements.begin(), elements.end(),
                                       [](const SymbolCount& e) { return e.symbol == "C"; });
    const auto rank = [hasCarbon](const std::string& symbol) {
        if (hasCarbon && symbol == "C") {
            return 0;
        }
        if (hasCarbon && symbol == "H") {
            return 1;
        }
        return 2;
    };
    std::stable_sort(elements.begin(), elements.end(),
                     [&](const SymbolCount& a, const SymbolCount& b) {
                         const int ra = rank(a.symbol);
                         const int rb = rank(b.symbol);
                         return ra != rb ? ra < rb : a.symbol < b.symbol;
                     });
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
