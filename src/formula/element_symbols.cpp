#include "formula/element_symbols.h"

#include "data/data_tables.h"
#include "text/trim.h"

namespace orvane::formula {

std::vector<std::string> symbolsOf(const data::TextGrid& elements) {
    std::vector<std::string> symbols(1);
    for (int c = 1; c < elements.columnCount(); ++c) {
        symbols.emplace_back(text::trimBlanks(elements.cell(c, data::SymbolRow)));
    }
    return symbols;
}

} // namespace orvane::formula
