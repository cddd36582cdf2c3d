#include "session/formula_preview.h"

#include "accurate/element_isotopes.h"
#include "data/data_tables.h"
#include "formula/element_symbols.h"
#include "formula/formula_reader.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::session {

FormulaPreview previewFormula(std::string_view text, const data::DataTables& tables,
                              char separator) {
    FormulaPreview preview;
    const data::TextGrid& elements = tables.elements;
    const std::vector<std::string> symbols = formula::symbolsOf(elements);
    formula::FormulaCounts counts;
    try {
        counts = formula::readFormula(text, symbols, separator,
                                      accurate::massNumbersByColumn(tables, separator));
    } catch (const text::Error& error) {
        preview.message = error.what();
        return preview;
    }
    preview.accepted = true;
    preview.formulaText = formula::tableOrderText(counts, symbols);
    // The weight as the summary will form it from the count cells' texts: weight times
    // count, summed in column order.
    try {
        text::Extended weight = 0;
        for (const formula::ElementCount& count : counts.counts) {
            const double cell = text::parseReal(count.countText, separator);
            if (cell > 0) {
                const double atomic =
                    text::parseReal(elements.cell(count.column, data::WeightRow), separator);
                weight = text::storeDouble(weight + static_cast<text::Extended>(atomic) * cell);
            }
        }
        preview.weightText = text::first8(text::generalText(weight, separator));
    } catch (const text::Error& error) {
        preview.message = error.what();
    }
    return preview;
}

} // namespace orvane::session
