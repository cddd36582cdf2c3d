#include "profile/fine_composition.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>

namespace orvane::profile {

std::string FineCompositions::text(std::size_t peak) const {
    assert(peak < peakCount());
    const int* counts = this->counts.data() + peak * isotopes.size();
    // within an element (a run of slots), lighter isotopes first, whatever the data files'
    // slot order
    std::vector<std::size_t> order(isotopes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (auto run = order.begin(); run != order.end();) {
        const auto end = std::find_if(run, order.end(), [this, run](std::size_t slot) {
            return isotopes[slot].symbol != isotopes[*run].symbol;
        });
        std::sort(run, end, [this](std::size_t a, std::size_t b) {
            return isotopes[a].massNumber < isotopes[b].massNumber;
        });
        run = end;
    }
    std::string result;
    for (const std::size_t slot : order) {
        if (isotopes[slot].reference || counts[slot] == 0) {
            continue;
        }
        if (!result.empty()) {
            result += ' ';
        }
        result += std::to_string(isotopes[slot].massNumber) + isotopes[slot].symbol +
                  std::to_string(counts[slot]);
    }
    return result;
}

std::vector<IsotopeSlot> isotopeSlotsOf(const std::vector<ElementAtoms>& normalised) {
    std::vector<IsotopeSlot> slots;
    for (const ElementAtoms& element : normalised) {
        std::size_t reference = 0;
        for (std::size_t i = 1; i < element.isotopes.size(); ++i) {
            const Isotope& isotope = element.isotopes[i];
            const Isotope& best = element.isotopes[reference];
            if (isotope.probability > best.probability ||
                (isotope.probability == best.probability && isotope.mass < best.mass)) {
                reference = i;
            }
        }
        for (std::size_t i = 0; i < element.isotopes.size(); ++i) {
            const Isotope& isotope = element.isotopes[i];
            slots.push_back(
                {element.symbol,
                 isotope.massNumber != 0 ? isotope.massNumber : std::llround(isotope.mass),
                 i == reference});
        }
    }
    return slots;
}

} // namespace orvane::profile
