#pragma once

#include <cstddef>

#include "sequence/sequence_composition.h"
#include "sequence/sequence_text.h"

namespace orvane::sequence {

/// Reads the peptide written in bytes [begin, end) of the text, in the ProForma notation
/// of what has a composition: one-letter residues (the 20 amino acids, U and O, in either
/// case), modifications in brackets after a residue by Unimod name or accession
/// ("M[Oxidation]", "M[UNIMOD:35]") or by formula ("[Formula:[13C2]H-2]"), terminal ones
/// ("[Acetyl]-PEPTIDE-[Amidated]"), fixed ones ("<[Carbamidomethyl]@C>") and global isotope
/// labels ("<15N>", "<D>") before the sequence, and a charge after it ("/2"). The peptide
/// is linear with free termini (H- ... -OH). Refuses with the position what has no
/// composition (a mass "[+15.9949]"), cross-links and every other notation.
SequenceComposition readPeptide(const SequenceText& text, std::size_t begin, std::size_t end);

} // namespace orvane::sequence
