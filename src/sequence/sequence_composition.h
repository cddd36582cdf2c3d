#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::sequence {

// Atoms of one element at its natural isotopic composition; the count may be negative in
// a modification's delta.
struct AtomCount {
    std::string symbol;
    long long count = 0;
};

// Atoms of one isotope of an element ("13C" six times).
struct IsotopeCount {
    std::string symbol;
    long long massNumber = 0;
    long long count = 0;
};

// What a sequence reads to, by element symbol: the sequence layer knows no element table.
struct SequenceComposition {
    std::vector<AtomCount> atoms;     // in the order first named
    std::vector<IsotopeCount> labels; // in the order first named
    std::optional<int> charge;        // "/2": the ion [M+2H]2+; "/-1": [M-H]-

    /// Adds `count` natural atoms of `symbol`.
    void addAtoms(std::string_view symbol, long long count);
    /// Adds `count` atoms of the isotope `massNumber` of `symbol`.
    void addLabel(std::string_view symbol, long long massNumber, long long count);
    /// Adds `times` times the atoms and labels of `other` (not its charge).
    void add(const SequenceComposition& other, long long times = 1);
    /// The natural atoms of `symbol`, 0 where none are named.
    long long atomsOf(std::string_view symbol) const;
    /// The atoms of the isotope `massNumber` of `symbol`, 0 where none are named.
    long long labelsOf(std::string_view symbol, long long massNumber) const;
};

} // namespace orvane::sequence
