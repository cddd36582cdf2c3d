#pragma once

#include <cstddef>

#include "sequence/sequence_composition.h"
#include "sequence/sequence_text.h"

namespace orvane::sequence {

enum class NucleicAcid { Dna, Rna };

/// Reads the single strand written in bytes [begin, end) of the text: the bases A C G T
/// (DNA) or A C G U (RNA), linear with 5'-OH and 3'-OH and a phosphodiester between
/// neighbours; a leading "p" is a 5'-phosphate. Blanks are skipped. Refuses with the
/// position a U in DNA, a T in RNA and any other character.
SequenceComposition readNucleicAcid(const SequenceText& text, std::size_t begin, std::size_t end,
                                    NucleicAcid kind);

} // namespace orvane::sequence
