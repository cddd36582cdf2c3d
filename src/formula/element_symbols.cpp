#include "formula/element_symbols.h"

#include "data/data_tables.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "text/trim.h"

namespace orvane::formula {

std::vector<std::string> symbolsOf(const data::TextGrid& elements) {
    std::vector<std::string> symbols(1);
    for (int c = 1; c < elements.columnCount(); ++c) {
        symbols.emplace_back(text::trimBlanks(elements.cell(c, data::SymbolRow)));
    }
    return symbols;
}

std::vector<std::optional<long double>> weightsOf(const data::TextGrid& elements, char separator) {
    std::vector<std::optional<long double>> weights(1);
    for (int c = 1; c < elements.columnCount(); ++c) {
        try {
            weights.emplace_back(text::parseReal(elements.cell(c, data::WeightRow), separator));
        } catch (const text::Error&) {
            weights.emplace_back(); // refused only where averagine needs it
        }
    }
    return weights;
}

} // namespace orvane::formula
