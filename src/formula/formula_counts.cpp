#include "formula/formula_counts.h"

#include <cassert>

#include "text/number_text.h"

namespace orvane::formula {

text::Extended FormulaCounts::countOf(int column) const {
    for (const ElementCount& entry : counts) {
        if (entry.column == column) {
            return entry.count;
        }
    }
    return 0;
}

std::string labelSymbol(const LabelCount& label, const std::vector<std::string>& symbols) {
    assert(label.column > 0 && static_cast<std::size_t>(label.column) < symbols.size());
    std::string text = "[" + std::to_string(label.massNumber) +
                       symbols[static_cast<std::size_t>(label.column)] + "]";
    if (label.purity != 1) {
        text +=
            "{" + text::generalText(static_cast<text::Extended>(label.purity) * 100, '.') + "%}";
    }
    return text;
}

std::string tableOrderText(const FormulaCounts& counts, const std::vector<std::string>& symbols) {
    std::string formula;
    auto label = counts.labels.begin();
    auto labelsUpTo = [&](int column) {
        for (; label != counts.labels.end() && label->column <= column; ++label) {
            if (label->count > 0) {
                formula += labelSymbol(*label, symbols);
                formula += label->countText;
            }
        }
    };
    for (const ElementCount& entry : counts.counts) {
        assert(entry.column > 0 && static_cast<std::size_t>(entry.column) < symbols.size());
        labelsUpTo(entry.column - 1);
        if (entry.count > 0) {
            formula += symbols[static_cast<std::size_t>(entry.column)];
            formula += entry.countText;
        }
        labelsUpTo(entry.column);
    }
    labelsUpTo(static_cast<int>(symbols.size()));
    return formula;
}

} // namespace orvane::formula
