#pragma once

#include <optional>
#include <string>

namespace orvane::ions {

// The ion and charge a typed formula is calculated with.
struct TypedIon {
    std::string ionText;    // the ion box's notation ("z" stands for the charge)
    std::string chargeText; // the charge box's text
    std::string notice;     // "" or why a sequence's "/z" does not stand
};

/// The ion and charge for a formula whose sequence asked for the charge `sequenceCharge`
/// ("/2": the protonated ion [M+2H]2+; "/-1": the deprotonated [M-H]-), where an ion or a charge may have been asked for on
/// their own (a batch line's ion, --ion, --charge): what was asked for stands, the sequence's
/// "/z" fills what was not, and the notice says which asked-for value replaces the
/// sequence's. Without a sequence charge, what was asked for or else the current texts.
TypedIon typedIon(std::optional<int> sequenceCharge, const std::optional<std::string>& ionAsked,
                  const std::optional<std::string>& chargeAsked, const std::string& currentIon,
                  const std::string& currentCharge);

} // namespace orvane::ions
