#pragma once

#include "text/extended.h"

namespace orvane::calc {

// The formula weight as the composition summary forms it: each element's or label's weight
// times its count added in their order, product and sum in extended precision, the sum
// stored as a double after each term. The summary, its shortcut for whole counts and
// Enter Formula's preview all add to it here, so that they write the same FW to the last bit.
inline void addToFormulaWeight(double& formulaWeight, double weight, double count) {
    formulaWeight = text::storeDouble(static_cast<text::Extended>(formulaWeight) +
                                      static_cast<text::Extended>(weight) * count);
}

} // namespace orvane::calc
