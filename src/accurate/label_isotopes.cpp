#include "accurate/label_isotopes.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

#include "data/isotope_file.h"
#include "text/error.h"
#include "text/trim.h"

namespace orvane::accurate {

ElementIsotopes readLabelIsotopes(const data::DataTables& tables, int column, long long massNumber,
                                  double purity, char separator) {
    const ElementIsotopes natural = readElementIsotopes(tables, column, separator);
    ElementIsotopes label;
    label.symbol = "[" + std::to_string(massNumber) + natural.symbol + "]";
    Isotope labelled{massNumber, 0, purity};
    long double othersTotal = 0;
    for (const Isotope& isotope : natural.isotopes) {
        if (isotope.massNumber == massNumber) {
            labelled.mass = isotope.mass;
        } else {
            othersTotal += isotope.probability;
        }
    }
    if (labelled.mass == 0) {
        const std::string symbol(text::trimBlanks(natural.symbol));
        if (!tables.isotopeFileProblem.empty()) {
            throw text::Error("The label " + label.symbol + " needs the masses of " +
                              data::isotopeFileName + ": " + tables.isotopeFileProblem + ".");
        }
        const data::KnownIsotope* known =
            data::findIsotope(tables.knownIsotopes, symbol, massNumber);
        if (known == nullptr) {
            throw text::Error(std::string(data::isotopeFileName) + " has no isotope " +
                              label.symbol + ".");
        }
        labelled.mass = known->mass;
    }
    // With no other natural isotope to hold the rest, every position holds the label's.
    if (othersTotal == 0) {
        labelled.probability = 1;
    }
    label.isotopes.push_back(labelled);
    if (othersTotal > 0 && purity < 1) {
        for (const Isotope& isotope : natural.isotopes) {
            if (isotope.massNumber != massNumber) {
                Isotope other = isotope;
                other.probability = static_cast<double>((1 - static_cast<long double>(purity)) *
                                                        isotope.probability / othersTotal);
                label.isotopes.push_back(other);
            }
        }
    }
    return label;
}

std::vector<std::vector<long long>> labelMassNumbersByColumn(const data::DataTables& tables,
                                                             char separator) {
    std::vector<std::vector<long long>> numbers = massNumbersByColumn(tables, separator);
    std::unordered_map<std::string_view, std::size_t> columns;
    for (std::size_t column = numbers.size(); column-- > 1;) {
        // of equal symbols the lowest column, as the formula reader takes it
        columns[text::trimBlanks(tables.elements.cell(static_cast<int>(column), data::SymbolRow))] =
            column;
    }
    for (const data::KnownIsotope& isotope : tables.knownIsotopes) {
        if (const auto found = columns.find(isotope.symbol); found != columns.end()) {
            numbers[found->second].push_back(isotope.massNumber);
        }
    }
    for (std::size_t column = 1; column < numbers.size(); ++column) {
        std::vector<long long>& known = numbers[column];
        std::sort(known.begin(), known.end());
        known.erase(std::unique(known.begin(), known.end()), known.end());
    }
    return numbers;
}

} // namespace orvane::accurate
