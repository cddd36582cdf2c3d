#include "sequence/nucleic_acid_reader.h"

#include <array>
#include <string>

namespace orvane::sequence {

namespace {

// A nucleoside: base and sugar with the 5'-OH and 3'-OH free.
struct Nucleoside {
    char code;
    int carbon, hydrogen, nitrogen, oxygen;
};

constexpr std::array<Nucleoside, 4> deoxyribonucleosides{{
    {'A', 10, 13, 5, 3}, // deoxyadenosine
    {'C', 9, 13, 3, 4},  // deoxycytidine
    {'G', 10, 13, 5, 4}, // deoxyguanosine
    {'T', 10, 14, 2, 5}, // thymidine
}};

constexpr std::array<Nucleoside, 4> ribonucleosides{{
    {'A', 10, 13, 5, 4}, // adenosine
    {'C', 9, 13, 3, 5},  // cytidine
    {'G', 10, 13, 5, 5}, // guanosine
    {'U', 9, 12, 2, 6},  // uridine
}};

} // namespace

SequenceComposition readNucleicAcid(const SequenceText& text, std::size_t begin, std::size_t end,
                                    NucleicAcid kind) {
    const auto& nucleosides = kind == NucleicAcid::Dna ? deoxyribonucleosides : ribonucleosides;
    const std::string name = kind == NucleicAcid::Dna ? "DNA" : "RNA";
    SequenceComposition composition;
    long long count = 0;
    bool phosphate = false;
    for (std::size_t at = begin; at < end; ++at) {
        const char c = text.at(at);
        if (c == ' ' || c == '\t') {
            continue;
        }
        if (c == 'p' && count == 0 && !phosphate) {
            phosphate = true;
            continue;
        }
        const Nucleoside* found = nullptr;
        for (const Nucleoside& nucleoside : nucleosides) {
            if (nucleoside.code == c) {
                found = &nucleoside;
            }
        }
        if (found == nullptr) {
            std::string detail = "the character " + text.character(at) + " at " +
                                 text.position(at) + " is no base of " + name;
            if (c == 'U' || c == 'T') {
                detail += kind == NucleicAcid::Dna ? " (DNA takes A, C, G and T; U is RNA's)"
                                                   : " (RNA takes A, C, G and U; T is DNA's)";
            } else if (c == 'p') {
                detail += " (a 5'-phosphate \"p\" stands first)";
            }
            throw text.refusal(detail);
        }
        composition.addAtoms("C", found->carbon);
        composition.addAtoms("H", found->hydrogen);
        composition.addAtoms("N", found->nitrogen);
        composition.addAtoms("O", found->oxygen);
        ++count;
    }
    if (count == 0) {
        throw text.refusal("the " + name + " at " + text.position(begin) + " has no base");
    }
    // each phosphodiester joins two hydroxyls through HPO3: H3PO4 less two waters
    const long long links = count - 1;
    composition.addAtoms("H", -links);
    composition.addAtoms("O", 2 * links);
    composition.addAtoms("P", links);
    if (phosphate) {
        // a phosphate ester of the 5'-OH: H3PO4 less one water
        composition.addAtoms("H", 1);
        composition.addAtoms("O", 3);
        composition.addAtoms("P", 1);
    }
    if (composition.atomsOf("P") == 0) {
        std::erase_if(composition.atoms,
                      [](const AtomCount& atoms) { return atoms.symbol == "P"; });
    }
    return composition;
}

} // namespace orvane::sequence
