#include "formula/symbol_index.h"

namespace orvane::formula {

SymbolIndex::SymbolIndex(const std::vector<std::string>& symbols)
    : m_count(symbols.size()), m_built(true) {
    for (std::size_t c = 1; c < symbols.size(); ++c) {
        if (!symbols[c].empty()) {
            m_columns[static_cast<unsigned char>(symbols[c][0])].push_back(static_cast<int>(c));
        }
    }
}

} // namespace orvane::formula
