#include "measured/instrument_preset.h"

#include <cctype>
#include <cmath>
#include <string>

namespace orvane::measured {

const std::array<InstrumentPreset, 4> instrumentPresets{{
    {"Orbitrap", 60'000, 400, 0.5, 2, 0.005, 0.02},
    {"FT-ICR", 200'000, 400, 1, 1, 0.005, 0.02},
    {"QTOF", 30'000, 400, 0, 3, 0.02, 0.08},
    {"IT-TOF", 10'000, 400, 0, 4, 0.02, 0.08},
}};

namespace {

std::string folded(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c != ' ' && c != '\t' && c != '-' && c != '_') {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return key;
}

} // namespace

const InstrumentPreset* findInstrumentPreset(std::string_view name) {
    const std::string key = folded(name);
    for (const InstrumentPreset& preset : instrumentPresets) {
        if (folded(preset.name) == key) {
            return &preset;
        }
    }
    return nullptr;
}

double resolvingPowerAt(const InstrumentPreset& preset, double atReference, double mz) {
    if (preset.exponent == 0 || !(mz > 0)) {
        return atReference;
    }
    return atReference * std::pow(preset.referenceMz / mz, preset.exponent);
}

} // namespace orvane::measured
