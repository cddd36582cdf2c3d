#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "calc/composition.h"
#include "calc/composition_summary.h"
#include "calc/isotope_engine.h"
#include "data/abundance_file.h"
#include "data/data_tables.h"
#include "data/element_file.h"
#include "data/text_grid.h"
#include "support/recording_notifier.h"
#include "text/number_text.h"

namespace orvane::calc::support {

// One column of the element table as the test types it.
struct ElementCells {
    std::string symbol;
    std::string weight;
    std::string count;
};

// One row of the isotope table: Width, then p1.. and x0.. (missing fields read "0").
struct IsotopeCells {
    std::string width;
    std::vector<std::string> offsets;    // p1, p2, ...
    std::vector<std::string> abundances; // x0, x1, ...
};

/// An element table of 5 rows and one column per element, percentages "0".
inline data::TextGrid elementTable(const std::vector<ElementCells>& elements) {
    data::TextGrid grid(static_cast<int>(elements.size()) + 1, data::DataTables::elementRows);
    grid.setCell(0, data::SymbolRow, "Atom");
    grid.setCell(0, data::WeightRow, "AW");
    grid.setCell(0, data::CountRow, "Count");
    grid.setCell(0, data::PercentRow, "Weight(%)");
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const int c = static_cast<int>(k) + 1;
        grid.setCell(c, data::HeaderRow, std::to_string(c));
        grid.setCell(c, data::SymbolRow, elements[k].symbol);
        grid.setCell(c, data::WeightRow, elements[k].weight);
        grid.setCell(c, data::CountRow, elements[k].count);
        grid.setCell(c, data::PercentRow, "0");
    }
    return grid;
}

/// An isotope table whose row r (r >= 1) is rows[r - 1].
inline data::TextGrid isotopeTable(const std::vector<IsotopeCells>& rows) {
    data::TextGrid grid(data::DataTables::isotopeColumns, static_cast<int>(rows.size()) + 1);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int r = static_cast<int>(k) + 1;
        grid.setCell(data::WidthColumn, r, rows[k].width);
        for (int j = 0; j < 9; ++j) {
            const auto index = static_cast<std::size_t>(j);
            grid.setCell(data::FirstOffsetColumn + j, r,
                         index < rows[k].offsets.size() ? rows[k].offsets[index] : "0");
        }
        for (int j = 0; j < 10; ++j) {
            const auto index = static_cast<std::size_t>(j);
            grid.setCell(data::FirstAbundanceColumn + j, r,
                         index < rows[k].abundances.size() ? rows[k].abundances[index] : "0");
        }
    }
    return grid;
}

// The summary's results together with what it shows and the readings it keeps, so that a
// test can run it and read everything from one object.
struct Summary : Composition {
    std::string weightText;
    std::string fw1Text;
    std::string formulaText;
    data::TextGrid workGrid{6, 2};
    CompositionReadings readings;
    CellReadings isotopeReadings;
};

/// Runs the composition summary into `summary`.
inline void summarise(data::TextGrid& elements, int charge, char separator, Summary& summary,
                      MsDataGrid& msData) {
    calculateComposition(
        elements, charge, separator, summary.readings, summary,
        {summary.weightText, summary.fw1Text, summary.formulaText, summary.workGrid, msData});
}

// The MS-range fields as the window shows them: their design texts until an atom step
// sets them.
struct MsRangeFields {
    std::string edit5 = "Edit5";
    std::string edit6 = "Edit6";
};

/// Runs the engine on the summary's elements: the pattern is replaced only when the run
/// succeeds, the fields show the last atom step's range however the run ends.
inline void runEngine(Summary& summary, const data::TextGrid& isotopes, char separator,
                      PatternState& pattern, MsDataGrid& msData, MsRangeFields& fields,
                      const EngineProgress& progress = {}) {
    std::optional<MsRange> range;
    const auto show = [&] {
        if (range) {
            fields.edit5 = std::to_string(range->lower);
            fields.edit6 = std::to_string(range->upper);
        }
    };
    try {
        pattern = simulateIsotopePattern({summary.elements, isotopes, separator},
                                         summary.isotopeReadings, msData, range, progress);
    } catch (...) {
        show();
        throw;
    }
    show();
}

// The shipped element and isotope tables, into whose count row a test writes its formulas.
struct ShippedTables {
    data::DataTables tables;
    std::map<std::string, int> column; // by symbol

    ShippedTables() {
        testing_support::RecordingNotifier notifier;
        if (!data::loadElementFile(ORVANE_SHARE_DIR, tables, notifier) ||
            !data::loadAbundanceFile(ORVANE_SHARE_DIR, tables, notifier) ||
            !notifier.notices.empty()) {
            throw std::runtime_error("the shipped data files did not load");
        }
        for (int c = 1; c < tables.elements.columnCount(); ++c) {
            column[tables.elements.cell(c, data::SymbolRow)] = c;
        }
    }

    /// "0" into every count cell, then each (symbol, count text); their summary at `charge`.
    void summarise(const std::vector<std::pair<std::string, std::string>>& formula,
                   Summary& summary, int charge = 1) {
        for (int c = 1; c < tables.elements.columnCount(); ++c) {
            tables.elements.setCell(c, data::CountRow, "0");
        }
        for (const auto& [symbol, count] : formula) {
            tables.elements.setCell(column.at(symbol), data::CountRow, count);
        }
        MsDataGrid msData;
        support::summarise(tables.elements, charge, '.', summary, msData);
    }

    /// The engine's pattern of `formula`, its input first passed to `adjust`.
    PatternState pattern(const std::vector<std::pair<std::string, std::string>>& formula,
                         const std::function<void(EngineInput&)>& adjust = {}) {
        Summary composition;
        summarise(formula, composition);
        CellReadings readings;
        std::optional<MsRange> range;
        MsDataGrid grid;
        EngineInput input{composition.elements, tables.isotopes, '.'};
        if (adjust) {
            adjust(input);
        }
        return simulateIsotopePattern(input, readings, grid, range);
    }
};

/// The value shown to `digits` significant digits, as the worked examples list them.
inline std::string shown(double value, int digits) {
    return text::generalText(value, '.', digits);
}

} // namespace orvane::calc::support
