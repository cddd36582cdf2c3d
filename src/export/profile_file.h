#pragma once

#include <string>

#include "profile/profile.h"

namespace orvane::exporting {

// What the first comment line of a profile file says of the profile's ion.
struct ProfileFileHeader {
    std::string ion;            // the notation, "[M+H]+"
    std::string ionFormula;     // "C6H13O6"
    std::string resolvingPower; // as the box holds it
    std::string coverage;       // as the box holds it
};

/// Writes the profile as orvane-calc's --profile and the high-resolution window's "Save
/// profile…" write it: two comment lines (the ion, its formula, the resolving power and
/// coverage, and what the profile was made from), then "m/z TAB intensity" lines with enough
/// digits to read each double back. Through the safe writer; raises text::Error as it does.
void writeProfileFile(const std::string& path, const ProfileFileHeader& header,
                      const profile::Profile& profile);

} // namespace orvane::exporting
