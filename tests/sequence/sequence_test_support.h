#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sequence/averagine.h"
#include "sequence/sequence_composition.h"

namespace orvane::sequence::support {

// A composition as "C2 H3 N1 O2 [13C]2": atoms by symbol in alphabetical order, then the
// labels by symbol and mass number; zero counts left out.
inline std::string compositionText(const SequenceComposition& composition) {
    std::vector<AtomCount> atoms = composition.atoms;
    std::sort(atoms.begin(), atoms.end(),
              [](const AtomCount& a, const AtomCount& b) { return a.symbol < b.symbol; });
    std::vector<IsotopeCount> labels = composition.labels;
    std::sort(labels.begin(), labels.end(), [](const IsotopeCount& a, const IsotopeCount& b) {
        return a.symbol != b.symbol ? a.symbol < b.symbol : a.massNumber < b.massNumber;
    });
    std::string text;
    for (const AtomCount& entry : atoms) {
        if (entry.count != 0) {
            text += (text.empty() ? "" : " ") + entry.symbol + std::to_string(entry.count);
        }
    }
    for (const IsotopeCount& entry : labels) {
        if (entry.count != 0) {
            text += (text.empty() ? "[" : " [") + std::to_string(entry.massNumber) + entry.symbol +
                    "]" + std::to_string(entry.count);
        }
    }
    return text;
}

// Standard atomic weights (IUPAC, conventional values).
inline std::optional<long double> standardWeight(std::string_view symbol) {
    static constexpr std::pair<std::string_view, long double> weights[] = {
        {"C", 12.011L}, {"H", 1.008L}, {"N", 14.007L}, {"O", 15.999L},
        {"P", 30.974L}, {"S", 32.06L}, {"Se", 78.971L}};
    for (const auto& [known, weight] : weights) {
        if (known == symbol) {
            return weight;
        }
    }
    return std::nullopt;
}

// The average mass of the natural atoms of a composition by standard weights.
inline long double averageMass(const SequenceComposition& composition) {
    long double mass = 0;
    for (const AtomCount& entry : composition.atoms) {
        mass += static_cast<long double>(entry.count) * standardWeight(entry.symbol).value();
    }
    return mass;
}

} // namespace orvane::sequence::support
