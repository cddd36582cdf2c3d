#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sequence/sequence_composition.h"

namespace orvane::sequence {

// A modification of Unimod: its name, its accession number and the atoms it adds (negative
// counts for those it takes away).
struct UnimodModification {
    std::string name;
    long long accession = 0;                  // UNIMOD:35 is 35
    std::optional<SequenceComposition> delta; // nothing where Unimod gives no composition
};

/// The Unimod modification of that name (its PSI-MS name, "Oxidation"; letter case is
/// ignored where no name matches exactly), or nothing.
std::optional<UnimodModification> unimodByName(std::string_view name);

/// The Unimod modification with that accession number, or nothing.
std::optional<UnimodModification> unimodByAccession(long long accession);

/// Reads a composition as Unimod writes it: blank-separated symbols, each with an optional
/// count in parentheses ("H(2) C(2) O", "13C(6) N(-1)"), a leading mass number making an
/// isotope, and Unimod's bricks (Hex, HexNAc, Me, Ac, ...) expanded to their atoms.
/// Nothing for a text it cannot read.
std::optional<SequenceComposition> unimodComposition(std::string_view text);

} // namespace orvane::sequence
