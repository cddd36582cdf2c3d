#include "cli/counts_to_enter.h"

#include "cli/command_options.h"
#include "formula/count_range.h"
#include "formula/element_symbols.h"
#include "formula/formula_reader.h"

namespace orvane::cli {

FormulaEntry countsToEnter(const data::TextGrid& elements, const std::string& formula,
                           const std::vector<std::pair<std::string, std::string>>& counts,
                           char separator, const formula::ReaderTables& tables) {
    const std::vector<std::string>& symbols = tables.symbols;
    FormulaEntry entry;
    std::vector<session::CountText>& entries = entry.counts;
    if (!formula.empty()) {
        const formula::FormulaCounts read = formula::readFormula(formula, tables, separator);
        entry.labels = read.labels;
        entry.charge = read.charge;
        entry.notices = read.notices;
        formula::requireCountsInRange(formula, read, elements, separator, tables.countWeights);
        for (const formula::ElementCount& count : read.counts) {
            entries.push_back({count.column, count.countText});
        }
    }
    for (const auto& [symbol, text] : counts) {
        int found = 0;
        for (std::size_t column = 1; column < symbols.size() && found == 0; ++column) {
            if (symbols[column] == symbol) {
                found = static_cast<int>(column);
            }
        }
        if (found == 0) {
            throw UsageError("unknown element symbol '" + symbol + "' in --count");
        }
        entries.push_back({found, text});
    }
    return entry;
}

} // namespace orvane::cli
