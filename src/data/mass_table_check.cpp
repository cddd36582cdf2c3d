#include "data/mass_table_check.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "data/mass_file.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "text/number_text.h"
#include "text/rounding.h"

namespace orvane::data {

namespace {

constexpr int slotCount = 10;
constexpr double massNumberTolerance = 0.5; // u

// The data files are written with "." and may have been edited with a ",".
std::optional<double> readReal(std::string_view text) {
    std::optional<double> value = text::tryParseReal(text, '.');
    return value ? value : text::tryParseReal(text, ',');
}

std::string where(int line, const std::string& field) {
    return std::string(massFileName) + ", line " + std::to_string(line) + ", field " + field;
}

// The weight rounded to a whole number, when it is a number that has one.
std::optional<long long> nominalOf(const std::string& weightText) {
    const std::optional<double> weight = readReal(weightText);
    if (!weight) {
        return std::nullopt;
    }
    try {
        return text::roundHalfEven(*weight);
    } catch (const text::Error&) {
        return std::nullopt;
    }
}

std::string lineProblem(const TextGrid& masses, const DataTables& tables, int line) {
    const std::string& elem = masses.cell(MassElemColumn, line);
    const std::string& symbol = tables.elements.cell(line, SymbolRow);
    if (!symbol.empty() && elem != symbol) { // no symbol: no element table to check against
        return where(line, "Elem") + ": '" + elem + "' where the element table has '" + symbol +
               "'";
    }
    const std::optional<long long> nominal = nominalOf(tables.elements.cell(line, WeightRow));
    if (!nominal) {
        return {};
    }
    for (int slot = 0; slot < slotCount; ++slot) {
        const std::optional<double> abundance =
            readReal(tables.isotopes.cell(FirstAbundanceColumn + slot, line));
        if (!abundance || *abundance == 0) {
            continue; // an unused slot, or one the accurate masses refuse themselves
        }
        long long massNumber = *nominal;
        if (slot > 0) {
            const std::optional<int> offset =
                text::tryParseInteger(tables.isotopes.cell(FirstOffsetColumn + slot - 1, line));
            if (!offset || __builtin_add_overflow(*nominal, *offset, &massNumber)) {
                continue;
            }
        }
        const std::string field = "M" + std::to_string(slot);
        const std::string& text = masses.cell(FirstMassColumn + slot, line);
        const std::optional<double> mass = readReal(text);
        if (!mass) {
            return where(line, field) + ": '" + text + "' is not a number";
        }
        if (!(std::isfinite(*mass) && *mass > 0)) {
            return where(line, field) + ": '" + text + "' is not a mass above 0";
        }
        if (!(std::fabs(*mass - static_cast<double>(massNumber)) < massNumberTolerance)) {
            return where(line, field) + ": '" + text + "' is not within 0.5 u of the mass number " +
                   std::to_string(massNumber);
        }
    }
    return {};
}

} // namespace

std::string massTableProblem(const TextGrid& masses, const DataTables& tables) {
    for (int line = 1; line <= tables.elementCount; ++line) {
        std::string problem = lineProblem(masses, tables, line);
        if (!problem.empty()) {
            return problem;
        }
    }
    return {};
}

} // namespace orvane::data
