#include "tracer/measurement_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "tracer/delimited_lines.h"
#include "tracer/input_error.h"

namespace orvane::tracer {
namespace {

// The column of `name` in the header (0-based); -1 when it has none.
int columnOf(const std::vector<std::string>& header, std::string_view name) {
    const auto found = std::find(header.begin(), header.end(), name);
    return found == header.end() ? -1 : static_cast<int>(found - header.begin());
}

// An area cell: a number of 0 or more; an empty cell is refused like any other text.
double readArea(const std::string& cell, const std::string& fileName, int line, int column,
                std::string_view name) {
    double value = 0;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, value);
    if (cell.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        throw inputError(fileName, line, column, name, "the area '" + cell + "' is not a number");
    }
    if (value < 0) {
        throw inputError(fileName, line, column, name, "the area " + cell + " is negative");
    }
    return value;
}

void noteSample(MeasurementTable& table, const std::string& sample) {
    if (std::find(table.samples.begin(), table.samples.end(), sample) == table.samples.end()) {
        table.samples.push_back(sample);
    }
}

MeasurementTable readIsoCorLayout(const std::vector<DelimitedLine>& lines,
                                  const std::string& fileName) {
    MeasurementTable table{fileName, false, {}, {}};
    const std::vector<std::string>& header = lines.front().fields;
    const char* const names[] = {"sample", "metabolite", "derivative", "isotopologue", "area"};
    int columns[5];
    for (int i = 0; i < 5; ++i) {
        columns[i] = columnOf(header, names[i]);
        if (columns[i] < 0) {
            throw inputError(fileName, lines.front().number, 0, "",
                             std::string("the header has no column '") + names[i] + "'");
        }
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const DelimitedLine& line = lines[i];
        const auto cell = [&](int which) -> std::string {
            const int column = columns[which];
            // a derivative left empty at the end of a line may lack its TAB
            return column < static_cast<int>(line.fields.size()) ? line.fields[column] : "";
        };
        Measurement row;
        row.sample = cell(0);
        row.metabolite = cell(1);
        row.derivative = cell(2);
        row.isotopologue = cell(3);
        row.line = line.number;
        row.metaboliteColumn = columns[1] + 1;
        row.derivativeColumn = columns[2] + 1;
        row.isotopologueColumn = columns[3] + 1;
        for (const int which : {0, 1, 3}) {
            if (cell(which).empty()) {
                throw inputError(fileName, line.number, columns[which] + 1, names[which],
                                 "the cell is empty");
            }
        }
        row.area = readArea(cell(4), fileName, line.number, columns[4] + 1, "area");
        noteSample(table, row.sample);
        table.rows.push_back(std::move(row));
    }
    return table;
}

MeasurementTable readAccuCorLayout(const std::vector<DelimitedLine>& lines,
                                   const std::string& fileName) {
    MeasurementTable table{fileName, true, {}, {}};
    const std::vector<std::string>& header = lines.front().fields;
    const int compound = columnOf(header, "Compound");
    const int formula = columnOf(header, "Formula");
    const int label = columnOf(header, "IsotopeLabel");
    for (const auto& [column, name] : {std::pair{formula, "Formula"}, {label, "IsotopeLabel"}}) {
        if (column < 0) {
            throw inputError(fileName, lines.front().number, 0, "",
                             std::string("the header has no column '") + name + "'");
        }
    }
    std::vector<int> sampleColumns;
    for (int c = 0; c < static_cast<int>(header.size()); ++c) {
        if (c != compound && c != formula && c != label && !header[c].empty()) {
            sampleColumns.push_back(c);
            table.samples.push_back(header[c]);
        }
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const DelimitedLine& line = lines[i];
        const auto cell = [&](int column) -> std::string {
            return column < static_cast<int>(line.fields.size()) ? line.fields[column] : "";
        };
        for (const auto& [column, name] :
             {std::pair{compound, "Compound"}, {formula, "Formula"}, {label, "IsotopeLabel"}}) {
            if (cell(column).empty()) {
                throw inputError(fileName, line.number, column + 1, name, "the cell is empty");
            }
        }
        for (std::size_t s = 0; s < sampleColumns.size(); ++s) {
            Measurement row;
            row.sample = table.samples[s];
            row.metabolite = cell(compound);
            row.isotopologue = cell(label);
            row.formula = cell(formula);
            row.line = line.number;
            row.metaboliteColumn = compound + 1;
            row.formulaColumn = formula + 1;
            row.isotopologueColumn = label + 1;
            row.area = readArea(cell(sampleColumns[s]), fileName, line.number, sampleColumns[s] + 1,
                                table.samples[s]);
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

} // namespace

MeasurementTable readMeasurements(std::string_view text, const std::string& fileName) {
    const std::size_t firstEnd = text.find('\n');
    const std::string_view firstLine = text.substr(0, firstEnd);
    const bool accuCor =
        firstLine.rfind("Compound", 0) == 0 || firstLine.rfind("\"Compound\"", 0) == 0;
    const char delimiter = accuCor && firstLine.find('\t') == std::string_view::npos ? ',' : '\t';
    const std::vector<DelimitedLine> lines = splitDelimited(text, delimiter, accuCor);
    if (lines.empty()) {
        throw text::Error(fileName + ": the file holds no header and no measurement");
    }
    return accuCor ? readAccuCorLayout(lines, fileName) : readIsoCorLayout(lines, fileName);
}

MeasurementTable readMeasurementFile(const std::string& path) {
    return readMeasurements(readWholeFile(path), path);
}

} // namespace orvane::tracer
