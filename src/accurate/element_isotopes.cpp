#include "accurate/element_isotopes.h"

#include <algorithm>
#include <cassert>
#include <optional>
#include <string_view>

#include "data/abundance_file.h"
#include "data/element_file.h"
#include "data/mass_file.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "text/rounding.h"

namespace orvane::accurate {

namespace {

constexpr int slotCount = 10;

// The data files are written with "." whatever the locale, and may have been edited with
// the locale's separator, so both are taken.
std::optional<double> readReal(std::string_view text, char separator) {
    std::optional<double> value = text::tryParseReal(text, separator);
    if (!value && separator != '.') {
        value = text::tryParseReal(text, '.');
    }
    return value;
}

std::string where(const char* fileName, int line, const std::string& field) {
    return std::string(fileName) + ", line " + std::to_string(line) + ", field " + field;
}

double realCell(const data::TextGrid& grid, int column, int row, char separator,
                const char* fileName, const std::string& field) {
    const std::string& text = grid.cell(column, row);
    const std::optional<double> value = readReal(text, separator);
    if (!value) {
        throw text::Error(where(fileName, row, field) + ": '" + text + "' is not a number");
    }
    return *value;
}

int offsetCell(const data::TextGrid& isotopes, int slot, int row) {
    const std::string field = "p" + std::to_string(slot);
    const std::string& text = isotopes.cell(data::FirstOffsetColumn + slot - 1, row);
    const std::optional<int> value = text::tryParseInteger(text);
    if (!value) {
        throw text::Error(where(data::abundanceFileName, row, field) + ": '" + text +
                          "' is not a whole number");
    }
    return *value;
}

void requireMassTable(const data::DataTables& tables) {
    if (!tables.massFileProblem.empty()) {
        throw text::Error(tables.massFileProblem);
    }
    // the element files were loaded again after masses.txt
    const int lines = tables.masses.rowCount() - 1;
    if (lines != tables.elementCount) {
        throw text::Error(std::string(data::massFileName) + " has " + std::to_string(lines) +
                          " lines; the element table has " + std::to_string(tables.elementCount) +
                          " elements");
    }
}

} // namespace

const Isotope& ElementIsotopes::mostAbundant() const {
    assert(!isotopes.empty());
    const Isotope* best = &isotopes.front();
    for (const Isotope& isotope : isotopes) {
        if (isotope.probability > best->probability ||
            (isotope.probability == best->probability && isotope.mass < best->mass)) {
            best = &isotope;
        }
    }
    return *best;
}

long double ElementIsotopes::averageMass() const {
    return data::meanMass(isotopes);
}

long double ElementIsotopes::averageDefect() const {
    long double mean = 0;
    for (const Isotope& isotope : isotopes) {
        const long double defect =
            static_cast<long double>(isotope.mass) - static_cast<long double>(isotope.massNumber);
        mean += static_cast<long double>(isotope.probability) * defect;
    }
    return mean;
}

ElementIsotopes readElementIsotopes(const data::DataTables& tables, int column, char separator) {
    assert(column >= 1 && column <= tables.elementCount);
    requireMassTable(tables);

    ElementIsotopes element;
    element.symbol = tables.elements.cell(column, data::SymbolRow);
    const std::string weightField =
        element.symbol.empty() ? std::to_string(column + 1) : element.symbol;
    const long long nominal = text::roundHalfEven(realCell(
        tables.elements, column, data::WeightRow, separator, data::elementFileName, weightField));

    long double total = 0;
    for (int slot = 0; slot < slotCount; ++slot) {
        const std::string field = "x" + std::to_string(slot);
        const double abundance = realCell(tables.isotopes, data::FirstAbundanceColumn + slot,
                                          column, separator, data::abundanceFileName, field);
        if (abundance < 0) {
            throw text::Error(where(data::abundanceFileName, column, field) + ": '" +
                              tables.isotopes.cell(data::FirstAbundanceColumn + slot, column) +
                              "' is below 0");
        }
        if (abundance == 0) {
            continue; // the slot is unused; its mass is not read
        }
        Isotope isotope;
        const int offset = slot == 0 ? 0 : offsetCell(tables.isotopes, slot, column);
        if (__builtin_add_overflow(nominal, offset, &isotope.massNumber)) {
            throw text::Error(where(data::abundanceFileName, column, "p" + std::to_string(slot)) +
                              ": the mass number " + std::to_string(nominal) + " + " +
                              std::to_string(offset) + " is too large");
        }
        isotope.mass = realCell(tables.masses, data::FirstMassColumn + slot, column, separator,
                                data::massFileName, "M" + std::to_string(slot));
        isotope.probability = abundance;
        total += abundance;
        element.isotopes.push_back(isotope);
    }
    if (total == 0) {
        throw text::Error(std::string(data::abundanceFileName) + ", line " +
                          std::to_string(column) + ": the abundances x0 to x9 of " + weightField +
                          " add to 0");
    }
    for (Isotope& isotope : element.isotopes) {
        isotope.probability = static_cast<double>(isotope.probability / total);
    }
    return element;
}

std::vector<std::vector<long long>> massNumbersByColumn(const data::DataTables& tables,
                                                        char separator) {
    std::vector<std::vector<long long>> numbers(
        static_cast<std::size_t>(std::max(tables.elements.columnCount(), 1)));
    if (tables.isotopes.columnCount() < data::FirstAbundanceColumn + slotCount) {
        return numbers; // no isotope table loaded
    }
    const int columns = std::min(tables.elementCount, tables.isotopes.rowCount() - 1);
    for (int column = 1; column < static_cast<int>(numbers.size()) && column <= columns; ++column) {
        try {
            const long long nominal = text::roundHalfEven(realCell(
                tables.elements, column, data::WeightRow, separator, data::elementFileName, ""));
            std::vector<long long>& slots = numbers[static_cast<std::size_t>(column)];
            for (int slot = 0; slot < slotCount; ++slot) {
                const double abundance =
                    realCell(tables.isotopes, data::FirstAbundanceColumn + slot, column, separator,
                             data::abundanceFileName, "");
                if (abundance > 0) {
                    slots.push_back(nominal +
                                    (slot == 0 ? 0 : offsetCell(tables.isotopes, slot, column)));
                }
            }
        } catch (const text::Error&) {
            numbers[static_cast<std::size_t>(column)].clear(); // the load said what is wrong
        }
    }
    return numbers;
}

} // namespace orvane::accurate
