#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace orvane::find {

// How much rarer each count of one element is among known metabolites than its commonest
// count, as natural logarithms (0 for the commonest), per mass band.
struct PriorElement {
    std::string_view symbol;
    int cap = 0; // the last count listed stands for that many or more
    std::array<std::array<double, 13>, 4> costs{};
};

// The upper neutral masses of the first bands; the last band has none.
extern const std::array<double, 3> priorBandBounds;
extern const std::array<PriorElement, 8> priorElements;
// What an element outside priorElements, C and H costs where present, per band.
extern const std::array<double, 4> priorOtherElement;
// The formulas the table was drawn from.
extern const std::size_t priorFormulaCount;

} // namespace orvane::find
