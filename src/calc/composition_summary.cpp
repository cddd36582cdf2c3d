#include "calc/composition_summary.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "calc/formula_weight.h"
#include "data/data_tables.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace orvane::calc {

void calculateComposition(data::TextGrid& elements, int charge, char separator,
                          CompositionReadings& readings, Composition& composition,
                          const CompositionDisplay& display,
                          const std::vector<LabelElement>& labels) {
    const int columns = elements.columnCount();
    // Each cell is read once; the later passes would see the same text and so the same value.
    std::vector<double> counts(static_cast<std::size_t>(std::max(columns, 1)), 0.0);
    auto countOf = [&](int c) { return counts[static_cast<std::size_t>(c)]; };

    std::vector<double> weights(counts.size(), 0.0);
    auto weightOf = [&](int c) { return weights[static_cast<std::size_t>(c)]; };

    composition.formulaWeight = 0; // what was summed stays when a later cell is refused
    int n = 0;
    for (int c = 1; c < columns; ++c) {
        counts[static_cast<std::size_t>(c)] = readings.counts.real(
            static_cast<std::size_t>(c), elements.cell(c, data::CountRow), separator);
        if (countOf(c) > 0) {
            weights[static_cast<std::size_t>(c)] = readings.weights.real(
                static_cast<std::size_t>(c), elements.cell(c, data::WeightRow), separator);
            addToFormulaWeight(composition.formulaWeight, weightOf(c), countOf(c));
            ++n;
        }
    }
    for (const LabelElement& label : labels) {
        if (label.count > 0) {
            addToFormulaWeight(composition.formulaWeight, label.averageMass(), label.count);
            ++n;
        }
    }
    const double fw = composition.formulaWeight;

    display.weightText = text::first8(text::generalText(fw, separator));
    display.averageMzText =
        text::first8(text::generalText(text::checkedDivide(fw, charge), separator));

    if (fw > 0 && !display.percentages) {
        for (int c = 1; c < columns; ++c) {
            if (!(countOf(c) > 0)) {
                readings.weights.real(static_cast<std::size_t>(c),
                                      elements.cell(c, data::WeightRow), separator);
            }
        }
    } else if (fw > 0) {
        // a zero share gives the same text in every column; it is made once per sign
        std::array<std::optional<std::string>, 2> zeroText;
        for (int c = 1; c < columns; ++c) {
            if (!(countOf(c) > 0)) {
                weights[static_cast<std::size_t>(c)] = readings.weights.real(
                    static_cast<std::size_t>(c), elements.cell(c, data::WeightRow), separator);
            }
            const double weight = weightOf(c);
            const double count = countOf(c);
            // with a count of 0 the share is a zero carrying the sign of the product
            const text::Extended share =
                count == 0.0 ? (std::signbit(weight) != std::signbit(count) ? -0.0L : 0.0L)
                             : static_cast<text::Extended>(weight) * 100.0L * count / fw;
            std::string computed;
            const std::string* percent = &computed;
            if (share == 0.0L) {
                std::optional<std::string>& zero = zeroText[std::signbit(share) ? 1 : 0];
                if (!zero) {
                    zero = text::fixedText(share, 8, 5, separator);
                }
                percent = &*zero;
            } else {
                computed = text::fixedText(share, 8, 5, separator);
            }
            if (!CellReadings::sameText(elements.cell(c, data::PercentRow), *percent)) {
                elements.setCell(c, data::PercentRow, *percent);
            }
        }
    }

    composition.elements.resize(static_cast<std::size_t>(n));
    display.formulaText.clear();

    int p = 0;
    auto label = labels.begin();
    // the labels of columns up to `column`, each as a working element of its own
    auto labelsUpTo = [&](int column) {
        for (; label != labels.end() && label->column <= column; ++label) {
            if (!(label->count > 0)) {
                continue;
            }
            ++p;
            WorkingElement& entry = composition.elements[static_cast<std::size_t>(p - 1)];
            entry.symbol = label->symbol;
            entry.weight = label->isotopes.front().mass;
            entry.count = label->count;
            entry.column = label->column;
            entry.labelIsotopes = label->isotopes;
            data::TextGrid& grid = display.workGrid;
            grid.setRowCount(p + 1);
            grid.setCell(1, p, std::to_string(p));
            grid.setCell(2, p, entry.symbol);
            grid.setCell(3, p, label->countText);
            grid.setCell(4, p, text::generalText(label->averageMass(), separator));
            grid.setCell(5, p, std::to_string(entry.column));
            display.formulaText += entry.symbol;
            display.formulaText += label->countText;
        }
    };
    for (int c = 1; c < columns; ++c) {
        labelsUpTo(c - 1);
        if (!(countOf(c) > 0)) {
            continue;
        }
        ++p;
        WorkingElement& entry = composition.elements[static_cast<std::size_t>(p - 1)];
        entry.labelIsotopes.clear();
        // symbols lose blanks and control characters at both ends, as typed cells often carry them
        entry.symbol = std::string(text::trimBlanks(elements.cell(c, data::SymbolRow)));
        entry.weight = weightOf(c);
        entry.count = countOf(c);
        entry.column = c;

        data::TextGrid& grid = display.workGrid;
        grid.setRowCount(p + 1);
        const std::string& countText = readings.counts.generalText(static_cast<std::size_t>(c));
        grid.setCell(1, p, std::to_string(p));
        grid.setCell(2, p, entry.symbol);
        grid.setCell(3, p, countText);
        grid.setCell(4, p, readings.weights.generalText(static_cast<std::size_t>(c)));
        grid.setCell(5, p, std::to_string(c));
        display.formulaText += entry.symbol;
        display.formulaText += countText;
        labelsUpTo(c);
    }
    labelsUpTo(std::numeric_limits<int>::max());

    if (fw == 0) {
        data::TextGrid& grid = display.workGrid;
        grid.setRowCount(1);
        for (int column = 0; column < grid.columnCount(); ++column) {
            grid.setCell(column, 0, std::string());
        }
        display.msData.blank();
    }
}

} // namespace orvane::calc
