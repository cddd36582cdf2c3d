#include "sequence/averagine.h"

#include <cmath>

namespace orvane::sequence {

std::optional<SequenceComposition> averagineComposition(long double mass,
                                                        const AverageMassLookup& averageMasses) {
    const auto carbon = averageMasses("C");
    const auto hydrogen = averageMasses("H");
    const auto nitrogen = averageMasses("N");
    const auto oxygen = averageMasses("O");
    const auto sulfur = averageMasses("S");
    if (!carbon || !hydrogen || !nitrogen || !oxygen || !sulfur || !(*hydrogen > 0)) {
        return std::nullopt;
    }
    const long double units = mass / 111.1254L;
    const auto whole = [](long double atoms) {
        return static_cast<long long>(std::floor(atoms + 0.5L));
    };
    const long long c = whole(4.9384L * units);
    const long long n = whole(1.3577L * units);
    const long long o = whole(1.4773L * units);
    const long long s = whole(0.0417L * units);
    const long double rest = mass - (c * *carbon + n * *nitrogen + o * *oxygen + s * *sulfur);
    const long long h = rest > 0 ? whole(rest / *hydrogen) : 0;
    SequenceComposition composition;
    composition.addAtoms("C", c);
    composition.addAtoms("H", h);
    composition.addAtoms("N", n);
    composition.addAtoms("O", o);
    composition.addAtoms("S", s);
    std::erase_if(composition.atoms, [](const AtomCount& atoms) { return atoms.count == 0; });
    return composition;
}

} // namespace orvane::sequence
