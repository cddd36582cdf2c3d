#include "tracer/isotope_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "text/shortest_text.h"
#include "tracer/delimited_lines.h"
#include "tracer/input_error.h"

namespace orvane::tracer {
namespace {

std::optional<double> numberIn(const std::string& cell) {
    double value = 0;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, value);
    if (cell.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

const std::vector<accurate::Isotope>* IsotopeTable::find(std::string_view symbol) const {
    const auto found = elements.find(symbol);
    return found == elements.end() ? nullptr : &found->second;
}

IsotopeTable readIsotopeTable(std::string_view text, const std::string& fileName) {
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    const char delimiter = firstLine.find('\t') == std::string_view::npos ? ',' : '\t';
    const std::vector<DelimitedLine> lines = splitDelimited(text, delimiter, true);
    if (lines.empty()) {
        throw text::Error(fileName + ": the file holds no header and no isotope");
    }
    const std::vector<std::string>& header = lines.front().fields;
    int columns[3];
    const char* const names[] = {"element", "mass", "abundance"};
    for (int i = 0; i < 3; ++i) {
        const auto found = std::find(header.begin(), header.end(), names[i]);
        if (found == header.end()) {
            throw inputError(fileName, lines.front().number, 0, "",
                             std::string("the header has no column '") + names[i] + "'");
        }
        columns[i] = static_cast<int>(found - header.begin());
    }
    IsotopeTable table{fileName, {}};
    std::map<std::string, int, std::less<>> lastLine; // of each element, for the sum's error
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const DelimitedLine& line = lines[i];
        const auto cell = [&](int which) -> std::string {
            const int column = columns[which];
            return column < static_cast<int>(line.fields.size()) ? line.fields[column] : "";
        };
        const auto refuse = [&](int which, const std::string& what) {
            return inputError(fileName, line.number, columns[which] + 1, names[which], what);
        };
        const std::string symbol = cell(0);
        if (symbol.empty()) {
            throw refuse(0, "the cell is empty");
        }
        const std::optional<double> mass = numberIn(cell(1));
        if (!mass || !(*mass > 0)) {
            throw refuse(1, "the mass '" + cell(1) + "' is not a number above 0");
        }
        const std::optional<double> abundance = numberIn(cell(2));
        if (!abundance || *abundance < 0 || *abundance > 1) {
            throw refuse(2, "the abundance '" + cell(2) + "' is not a number of 0 to 1");
        }
        std::vector<accurate::Isotope>& isotopes = table.elements[symbol];
        const long long massNumber = std::llround(*mass);
        for (const accurate::Isotope& known : isotopes) {
            if (known.massNumber == massNumber) {
                throw refuse(1, "the mass " + cell(1) + " gives " + symbol +
                                    " a second isotope of mass number " +
                                    std::to_string(massNumber));
            }
        }
        isotopes.push_back({massNumber, *mass, *abundance});
        lastLine[symbol] = line.number;
    }
    if (table.elements.empty()) {
        throw text::Error(fileName + ": the file holds no isotope");
    }
    for (auto& [symbol, isotopes] : table.elements) {
        std::sort(
            isotopes.begin(), isotopes.end(),
            [](const accurate::Isotope& a, const accurate::Isotope& b) { return a.mass < b.mass; });
        double sum = 0;
        for (const accurate::Isotope& isotope : isotopes) {
            sum += isotope.probability;
        }
        if (std::abs(sum - 1) > 1e-6) {
            throw inputError(fileName, lastLine[symbol], columns[2] + 1, names[2],
                             "the abundances of " + symbol + " add up to " +
                                 text::shortestText(sum) + ", not 1");
        }
    }
    return table;
}

IsotopeTable readIsotopeTableFile(const std::string& path) {
    return readIsotopeTable(readWholeFile(path), path);
}

} // namespace orvane::tracer
