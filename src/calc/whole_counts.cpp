#include "calc/whole_counts.h"

#include <algorithm>

#include "calc/formula_weight.h"
#include "data/data_tables.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace orvane::calc {

std::optional<ElementColumns> readElementColumns(const data::TextGrid& elements, char separator) {
    ElementColumns columns;
    const int count = elements.columnCount();
    columns.symbols.resize(static_cast<std::size_t>(std::max(count, 1)));
    columns.weights.resize(columns.symbols.size());
    for (int c = 1; c < count; ++c) {
        const auto column = static_cast<std::size_t>(c);
        columns.symbols[column] = std::string(text::trimBlanks(elements.cell(c, data::SymbolRow)));
        const std::optional<double> weight =
            text::tryParseReal(elements.cell(c, data::WeightRow), separator);
        if (!weight) {
            return std::nullopt;
        }
        columns.weights[column] = *weight;
    }
    return columns;
}

bool composeWholeCounts(const std::vector<std::pair<int, std::string>>& counts,
                        const ElementColumns& columns, int charge, char separator,
                        Composition& composition, std::string& weightText,
                        std::string& averageMzText, std::string& formulaText) {
    std::vector<std::pair<int, long long>> whole;
    for (const auto& [column, text] : counts) {
        if (column < 1 || static_cast<std::size_t>(column) >= columns.weights.size() ||
            text.empty() || text.size() > 9 ||
            !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return false;
        }
        long long value = 0;
        for (const char c : text) {
            value = value * 10 + (c - '0');
        }
        whole.emplace_back(column, value);
    }
    std::sort(whole.begin(), whole.end());
    for (std::size_t i = 1; i < whole.size(); ++i) {
        if (whole[i].first == whole[i - 1].first) {
            return false; // the later cell would win; the summary sorts that out
        }
    }
    std::erase_if(whole, [](const auto& entry) { return entry.second == 0; });
    if (whole.empty()) {
        return false;
    }
    double fw = 0;
    for (const auto& [column, count] : whole) {
        addToFormulaWeight(fw, columns.weights[static_cast<std::size_t>(column)],
                           static_cast<double>(count));
    }
    if (!(fw > 0)) {
        return false;
    }
    text::Extended perCharge = 0;
    try {
        perCharge = text::checkedDivide(fw, charge);
    } catch (const text::Error&) {
        return false;
    }
    composition.formulaWeight = fw;
    composition.elements.resize(whole.size());
    formulaText.clear();
    for (std::size_t p = 0; p < whole.size(); ++p) {
        const auto column = static_cast<std::size_t>(whole[p].first);
        WorkingElement& element = composition.elements[p];
        element.symbol = columns.symbols[column];
        element.weight = columns.weights[column];
        element.count = static_cast<double>(whole[p].second);
        element.column = whole[p].first;
        element.labelIsotopes.clear();
        formulaText += element.symbol;
        formulaText += text::generalText(static_cast<text::Extended>(whole[p].second), separator);
    }
    weightText = text::first8(text::generalText(fw, separator));
    // at a charge of 1 the m/z is the weight itself, and so is its text
    averageMzText = perCharge == static_cast<text::Extended>(fw)
                        ? weightText
                        : text::first8(text::generalText(perCharge, separator));
    return true;
}

} // namespace orvane::calc
