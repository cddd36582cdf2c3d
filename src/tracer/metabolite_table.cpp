#include "tracer/metabolite_table.h"

#include <algorithm>
#include <charconv>

#include "tracer/delimited_lines.h"
#include "tracer/input_error.h"

namespace orvane::tracer {

const NamedFormula* NamedFormulas::find(std::string_view name) const {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const NamedFormula& entry) { return entry.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

NamedFormulas readNamedFormulas(std::string_view text, const std::string& fileName,
                                bool chargeColumn) {
    NamedFormulas table{fileName, {}};
    const std::vector<DelimitedLine> lines = splitDelimited(text, '\t', false);
    if (lines.empty()) {
        throw text::Error(fileName + ": the file holds no header");
    }
    const std::vector<std::string>& header = lines.front().fields;
    const auto columnOf = [&](std::string_view name) {
        const auto found = std::find(header.begin(), header.end(), name);
        return found == header.end() ? -1 : static_cast<int>(found - header.begin());
    };
    const int name = columnOf("name");
    const int formula = columnOf("formula");
    const int charge = chargeColumn ? columnOf("charge") : -1;
    for (const auto& [column, title] : {std::pair{name, "name"}, {formula, "formula"}}) {
        if (column < 0) {
            throw inputError(fileName, lines.front().number, 0, "",
                             std::string("the header has no column '") + title + "'");
        }
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const DelimitedLine& line = lines[i];
        const auto cell = [&](int column) -> std::string {
            return column >= 0 && column < static_cast<int>(line.fields.size())
                       ? line.fields[column]
                       : "";
        };
        NamedFormula entry{cell(name), cell(formula), 0, line.number, formula + 1};
        if (entry.name.empty()) {
            throw inputError(fileName, line.number, name + 1, "name", "the cell is empty");
        }
        if (entry.formula.empty()) {
            throw inputError(fileName, line.number, formula + 1, "formula", "the cell is empty");
        }
        const std::string chargeText = cell(charge);
        if (!chargeText.empty()) {
            const char* end = chargeText.data() + chargeText.size();
            const char* begin = chargeText.data() + (chargeText.front() == '+' ? 1 : 0);
            const auto [stop, error] = std::from_chars(begin, end, entry.charge);
            if (error != std::errc() || stop != end) {
                throw inputError(fileName, line.number, charge + 1, "charge",
                                 "the charge '" + chargeText + "' is not a whole number");
            }
        }
        if (table.find(entry.name) != nullptr) {
            throw inputError(fileName, line.number, name + 1, "name",
                             "'" + entry.name + "' is named a second time (first on line " +
                                 std::to_string(table.find(entry.name)->line) + ")");
        }
        table.entries.push_back(std::move(entry));
    }
    return table;
}

NamedFormulas readNamedFormulaFile(const std::string& path, bool chargeColumn) {
    return readNamedFormulas(readWholeFile(path), path, chargeColumn);
}

} // namespace orvane::tracer
