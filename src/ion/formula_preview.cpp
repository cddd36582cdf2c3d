#include "ion/formula_preview.h"

#include "ion/reader_tables.h"

#include <cmath>
#include <cstdio>

#include "accurate/accurate_masses.h"
#include "accurate/element_isotopes.h"
#include "accurate/label_isotopes.h"
#include "calc/formula_weight.h"
#include "data/data_tables.h"
#include "formula/element_symbols.h"
#include "formula/formula_reader.h"
#include "formula/hill_order.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/number_text.h"

namespace orvane::ions {

FormulaPreview previewFormula(std::string_view text, const data::DataTables& tables,
                              const formula::ReaderTables& loadedReader, char separator) {
    FormulaPreview preview;
    const data::TextGrid& elements = tables.elements;
    // gathered at each load; before a load they are made here
    const formula::ReaderTables made =
        loadedReader.symbols.empty() ? readerTablesOf(tables, separator) : formula::ReaderTables{};
    const formula::ReaderTables& reader = loadedReader.symbols.empty() ? made : loadedReader;
    const std::vector<std::string>& symbols = reader.symbols;
    formula::FormulaCounts counts;
    try {
        counts = formula::readFormula(text, reader, separator);
    } catch (const text::Error& error) {
        preview.message = error.what();
        return preview;
    }
    preview.accepted = true;
    preview.notices = counts.notices;
    preview.formulaText = formula::tableOrderText(counts, symbols);
    // The Hill formula and the monoisotopic mass, shown beside the weight; a count that
    // cannot be read leaves them out, and the weight below says why.
    try {
        std::vector<formula::SymbolCount> hill;
        std::vector<accurate::AtomCount> atoms;
        bool wholeAtoms = true;
        for (const formula::ElementCount& count : counts.counts) {
            const double value = text::parseReal(count.countText, separator);
            if (value <= 0) {
                continue;
            }
            hill.push_back({symbols.at(static_cast<std::size_t>(count.column)),
                            text::generalText(value, '.')});
            wholeAtoms = wholeAtoms && value == std::floor(value) && value < 1e15;
            atoms.push_back({count.column, wholeAtoms ? static_cast<long long>(value) : 0});
        }
        std::vector<accurate::LabelAtoms> labels;
        for (const formula::LabelCount& label : counts.labels) {
            const double value = text::parseReal(label.countText, separator);
            if (value <= 0) {
                continue;
            }
            hill.push_back({formula::labelSymbol(label, symbols), text::generalText(value, '.')});
            wholeAtoms = wholeAtoms && value == std::floor(value) && value < 1e15;
            labels.push_back({accurate::readLabelIsotopes(tables, label.column, label.massNumber,
                                                          label.purity, separator),
                              wholeAtoms ? static_cast<long long>(value) : 0, label.column});
        }
        preview.hillText = formula::hillFormula(std::move(hill));
        if (wholeAtoms && (!atoms.empty() || !labels.empty())) {
            const accurate::MoleculeMasses masses =
                accurate::computeMoleculeMasses(atoms, tables, separator, labels);
            char mass[64];
            std::snprintf(mass, sizeof mass, "%.6f", masses.monoisotopicMass);
            preview.monoisotopicText = mass;
        }
    } catch (const text::Error&) {
        // without masses.txt the preview still gives the formula and its weight
    }
    // The weight as the summary will form it from the count cells' texts.
    try {
        double weight = 0;
        for (const formula::ElementCount& count : counts.counts) {
            const double cell = text::parseReal(count.countText, separator);
            if (cell > 0) {
                calc::addToFormulaWeight(
                    weight,
                    text::parseReal(elements.cell(count.column, data::WeightRow), separator), cell);
            }
        }
        for (const formula::LabelCount& label : counts.labels) {
            const double cell = text::parseReal(label.countText, separator);
            if (cell > 0) {
                const accurate::ElementIsotopes isotopes = accurate::readLabelIsotopes(
                    tables, label.column, label.massNumber, label.purity, separator);
                calc::addToFormulaWeight(weight, static_cast<double>(isotopes.averageMass()), cell);
            }
        }
        // whole: 1.2e12 stays readable
        preview.weightText = text::generalText(weight, separator);
    } catch (const text::Error& error) {
        preview.message = error.what();
    }
    return preview;
}

} // namespace orvane::ions
