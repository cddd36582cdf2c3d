#include "formula/formula_counts.h"

#include <cassert>

namespace orvane::formula {

text::Extended FormulaCounts::countOf(int column) const {
    for (const ElementCount& entry : counts) {
        if (entry.column == column) {
            return entry.count;
        }
    }
    return 0;
}

std::string tableOrderText(const FormulaCounts& counts, const std::vector<std::string>& symbols) {
    std::string formula;
    for (const ElementCount& entry : counts.counts) {
        assert(entry.column > 0 && static_cast<std::size_t>(entry.column) < symbols.size());
        if (entry.count > 0) {
            formula += symbols[static_cast<std::size_t>(entry.column)];
            formula += entry.countText;
        }
    }
    return formula;
}

} // namespace orvane::formula
