#include "sequence/sequence_composition.h"

namespace orvane::sequence {

void SequenceComposition::addAtoms(std::string_view symbol, long long count) {
    for (AtomCount& entry : atoms) {
        if (entry.symbol == symbol) {
            entry.count += count;
            return;
        }
    }
    atoms.push_back({std::string(symbol), count});
}

void SequenceComposition::addLabel(std::string_view symbol, long long massNumber, long long count) {
    for (IsotopeCount& entry : labels) {
        if (entry.symbol == symbol && entry.massNumber == massNumber) {
            entry.count += count;
            return;
        }
    }
    labels.push_back({std::string(symbol), massNumber, count});
}

void SequenceComposition::add(const SequenceComposition& other, long long times) {
    for (const AtomCount& entry : other.atoms) {
        addAtoms(entry.symbol, entry.count * times);
    }
    for (const IsotopeCount& entry : other.labels) {
        addLabel(entry.symbol, entry.massNumber, entry.count * times);
    }
}

long long SequenceComposition::atomsOf(std::string_view symbol) const {
    for (const AtomCount& entry : atoms) {
        if (entry.symbol == symbol) {
            return entry.count;
        }
    }
    return 0;
}

long long SequenceComposition::labelsOf(std::string_view symbol, long long massNumber) const {
    for (const IsotopeCount& entry : labels) {
        if (entry.symbol == symbol && entry.massNumber == massNumber) {
            return entry.count;
        }
    }
    return 0;
}

} // namespace orvane::sequence
