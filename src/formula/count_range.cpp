#include "formula/count_range.h"

#include <climits>
#include <cmath>
#include <optional>
#include <string>

#include "data/data_tables.h"
#include "formula/formula_cursor.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::formula {

namespace {

std::optional<double> weightOf(const data::TextGrid& elements, int column, char separator) {
    const std::string& weightText = elements.cell(column, data::WeightRow);
    std::optional<double> weight = text::tryParseReal(weightText, separator);
    if (!weight && separator != '.') {
        weight = text::tryParseReal(weightText, '.');
    }
    return weight;
}

} // namespace

std::vector<std::optional<double>> countRangeWeights(const data::TextGrid& elements,
                                                     char separator) {
    std::vector<std::optional<double>> weights(static_cast<std::size_t>(elements.columnCount()));
    for (int c = 0; c < elements.columnCount(); ++c) {
        weights[static_cast<std::size_t>(c)] = weightOf(elements, c, separator);
    }
    return weights;
}

void requireCountsInRange(std::string_view formula, const FormulaCounts& counts,
                          const data::TextGrid& elements, char separator,
                          const std::vector<std::optional<double>>& weights) {
    for (const ElementCount& entry : counts.counts) {
        const auto c = static_cast<std::size_t>(entry.column);
        const std::optional<double> weight =
            c < weights.size() ? weights[c] : weightOf(elements, entry.column, separator);
        if (!weight) {
            continue;
        }
        const text::Extended mass = static_cast<text::Extended>(*weight) * entry.count;
        // the engine rounds half to even, so INT_MAX + 0.5 is the first mass it refuses
        if (std::fabs(mass) >= static_cast<text::Extended>(INT_MAX) + 0.5L) {
            const std::string& symbol = elements.cell(entry.column, data::SymbolRow);
            throw FormulaCursor(formula, "Formula", separator)
                .refusal("the count " + entry.countText + " of " + FormulaCursor::quoted(symbol) +
                         " is too large: " + text::generalText(mass, separator) +
                         " u is beyond the masses a pattern can hold (" + std::to_string(INT_MAX) +
                         " u)");
        }
    }
}

} // namespace orvane::formula
