#pragma once

#include <cstddef>

#include "sequence/sequence_composition.h"
#include "sequence/sequence_text.h"

namespace orvane::sequence {

/// Reads the formula of a "[Formula:...]" modification, bytes [begin, end) of the text:
/// element symbols and isotopes in brackets ("[13C2]"), each with an optional count that
/// may be negative ("H-2"), blanks allowed between them. Refuses with the position.
SequenceComposition readProformaFormula(const SequenceText& text, std::size_t begin,
                                        std::size_t end);

} // namespace orvane::sequence
