#include "find/composition_prior.h"

#include <algorithm>

#include "find/composition_prior_table.h"

namespace orvane::find {

double compositionPrior(const std::vector<AtomTally>& atoms, double neutralMass) {
    const auto band = static_cast<std::size_t>(
        std::upper_bound(priorBandBounds.begin(), priorBandBounds.end(), neutralMass) -
        priorBandBounds.begin());
    double prior = 0;
    bool other = false;
    for (const PriorElement& element : priorElements) {
        long long count = 0;
        for (const AtomTally& atom : atoms) {
            if (atom.symbol == element.symbol) {
                count += atom.count;
            }
        }
        prior += element.costs[band][static_cast<std::size_t>(
            std::min<long long>(std::max<long long>(count, 0), element.cap))];
    }
    for (const AtomTally& atom : atoms) {
        if (atom.count > 0 && atom.symbol != "C" && atom.symbol != "H" && atom.symbol != "O" &&
            std::none_of(priorElements.begin(), priorElements.end(),
                         [&](const PriorElement& e) { return e.symbol == atom.symbol; })) {
            other = true;
        }
    }
    return other ? prior + priorOtherElement[band] : prior;
}

} // namespace orvane::find
