#include "cli/formula_counts.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::cli {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The longest symbol that starts at `position`, or "" when none does.
std::string longestSymbolAt(const std::string& formula, std::size_t position,
                            const std::vector<std::string>& symbols) {
    std::string best;
    for (const std::string& symbol : symbols) {
        if (symbol.size() > best.size() && formula.compare(position, symbol.size(), symbol) == 0) {
            best = symbol;
        }
    }
    return best;
}

} // namespace

std::vector<ElementCount> parseFormula(const std::string& formula,
                                       const std::vector<std::string>& symbols, char separator) {
    std::vector<ElementCount> counts;
    std::vector<int> occurrences;
    std::size_t position = 0;
    while (position < formula.size()) {
        const std::string symbol = longestSymbolAt(formula, position, symbols);
        if (symbol.empty()) {
            std::size_t end = position + 1;
            while (end < formula.size() && std::islower(static_cast<unsigned char>(formula[end]))) {
                ++end;
            }
            throw std::invalid_argument("unknown element symbol '" +
                                        formula.substr(position, end - position) + "' in formula");
        }
        position += symbol.size();

        std::string number;
        while (position < formula.size() && isDigit(formula[position])) {
            number += formula[position++];
        }
        if (!number.empty() && position + 1 < formula.size() && formula[position] == '.' &&
            isDigit(formula[position + 1])) {
            number += separator;
            ++position;
            while (position < formula.size() && isDigit(formula[position])) {
                number += formula[position++];
            }
        }
        if (number.empty()) {
            number = "1";
        }

        auto found = std::find_if(counts.begin(), counts.end(),
                                  [&](const ElementCount& c) { return c.symbol == symbol; });
        if (found == counts.end()) {
            counts.push_back({symbol, number});
            continue;
        }
        // A repeated symbol adds up, written as the window would write a count.
        const text::Extended sum =
            static_cast<text::Extended>(text::parseReal(found->countText, separator)) +
            text::parseReal(number, separator);
        found->countText = text::generalText(sum, separator);
    }
    return counts;
}

} // namespace orvane::cli
