#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sequence/averagine.h"
#include "sequence/sequence_composition.h"
#include "sequence/sequence_text.h"

namespace orvane::sequence {

/// True when "peptide(", "dna(", "rna(" or "averagine(" starts at `offset` of `text`.
bool isSequenceAt(std::string_view text, std::size_t offset);

// A sequence read out of a longer text, and where it ended.
struct SequenceReading {
    SequenceComposition composition;
    std::size_t end = 0;              // the offset after its closing ")"
    std::vector<std::string> notices; // what was read, though likely not meant as written
};

/// Reads the sequence that starts at `offset` (isSequenceAt holds there) up to the ")"
/// that closes it, outside the brackets within: peptide(...), dna(...), rna(...) or
/// averagine(MASS), where MASS is a positive number with "." or `separator` as its point.
/// Refusals name positions in the whole text. Notices name a peptide written in three-letter
/// codes ("GlyGly", read as the residues G L Y G L Y) with its one-letter reading, and an
/// averagine mass that no composition of whole atoms comes within half a hydrogen of.
SequenceReading readSequenceAt(const SequenceText& text, std::size_t offset, char separator,
                               const AverageMassLookup& averageMasses);

} // namespace orvane::sequence
