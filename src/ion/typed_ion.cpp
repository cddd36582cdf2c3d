#include "ion/typed_ion.h"

#include "ion/ion_result.h"

namespace orvane::ions {

TypedIon typedIon(std::optional<int> sequenceCharge, const std::optional<std::string>& ionAsked,
                  const std::optional<std::string>& chargeAsked, const std::string& currentIon,
                  const std::string& currentCharge) {
    if (!sequenceCharge) {
        return {ionAsked.value_or(currentIon), chargeAsked.value_or(currentCharge), {}};
    }
    // "/2" the protonated ion, "/-1" the deprotonated one; the charge box holds |z|
    const int magnitude = *sequenceCharge < 0 ? -*sequenceCharge : *sequenceCharge;
    const char* preset = *sequenceCharge < 0 ? "[M-zH]z-" : ionPresets[0];
    const std::string z = std::to_string(magnitude);
    TypedIon typed{ionAsked.value_or(preset), chargeAsked.value_or(z), {}};
    if (ionAsked || chargeAsked) {
        std::string asked;
        if (ionAsked) {
            asked = "the ion " + *ionAsked;
        }
        if (chargeAsked) {
            asked += (asked.empty() ? "the charge " : " and the charge ") + *chargeAsked;
        }
        typed.notice = asked + " asked for replace" + (ionAsked && chargeAsked ? "" : "s") +
                       " the sequence's /" + std::to_string(*sequenceCharge) + " (" +
                       expandIon(preset, magnitude) + ")";
    }
    return typed;
}

} // namespace orvane::ions
