#include "profile/normalised_elements.h"

#include <cmath>
#include <string>

#include "text/error.h"
#include "text/number_text.h"

namespace orvane::profile {

namespace {

std::string elementName(const ElementAtoms& element, std::size_t index) {
    return element.symbol.empty() ? "Element " + std::to_string(index + 1)
                                  : "Element " + element.symbol;
}

std::string number(double value) {
    return text::generalText(value, '.');
}

} // namespace

std::vector<ElementAtoms> normalisedElements(const std::vector<ElementAtoms>& elements) {
    std::vector<ElementAtoms> result;
    for (std::size_t e = 0; e < elements.size(); ++e) {
        const ElementAtoms& element = elements[e];
        const std::string name = elementName(element, e);
        if (element.atomCount < 0) {
            throw text::Error(name + ": the atom count " + std::to_string(element.atomCount) +
                              " is negative.");
        }
        ElementAtoms kept{element.symbol, element.atomCount, {}};
        double total = 0;
        for (std::size_t i = 0; i < element.isotopes.size(); ++i) {
            const Isotope& isotope = element.isotopes[i];
            const std::string where = name + ", isotope " + std::to_string(i + 1);
            if (!std::isfinite(isotope.mass) || isotope.mass <= 0) {
                throw text::Error(where + ": the mass " + number(isotope.mass) +
                                  " is not a positive number.");
            }
            if (!std::isfinite(isotope.probability) || isotope.probability < 0) {
                throw text::Error(where + ": the probability " + number(isotope.probability) +
                                  " is not a number of 0 or more.");
            }
            // an isotope that never occurs adds no peak, and IsoSpec takes its logarithm
            if (isotope.probability > 0) {
                kept.isotopes.push_back(isotope);
                total += isotope.probability;
            }
        }
        if (element.atomCount == 0) {
            continue;
        }
        if (kept.isotopes.empty()) {
            throw text::Error(name + ": no isotope has a probability above 0.");
        }
        for (Isotope& isotope : kept.isotopes) {
            isotope.probability /= total;
        }
        result.push_back(std::move(kept));
    }
    if (result.empty()) {
        throw text::Error("The ion has no atoms.");
    }
    return result;
}

} // namespace orvane::profile
