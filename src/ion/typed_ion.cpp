#include "ion/typed_ion.h"

#include "ion/ion_result.h"

namespace orvane::ions {

TypedIon typedIon(std::optional<int> sequenceCharge, const std::optional<std::string>& ionAsked,
                  const std::optional<std::string>& chargeAsked, const std::string& currentIon,
                  const std::string& currentCharge) {
    if (!sequenceCharge) {
        return {ionAsked.value_or(currentIon), chargeAsked.value_or(currentCharge), {}};
    }
    const std::string z = std::to_string(*sequenceCharge);
    TypedIon typed{ionAsked.value_or(ionPresets[0]), chargeAsked.value_or(z), {}};
    if (ionAsked || chargeAsked) {
        std::string asked;
        if (ionAsked) {
            asked = "the ion " + *ionAsked;
        }
        if (chargeAsked) {
            asked += (asked.empty() ? "the charge " : " and the charge ") + *chargeAsked;
        }
        typed.notice = asked + " asked for replace" + (ionAsked && chargeAsked ? "" : "s") +
                       " the sequence's /" + z + " (" + expandIon(ionPresets[0], *sequenceCharge) +
                       ")";
    }
    return typed;
}

} // namespace orvane::ions
