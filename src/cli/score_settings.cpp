#include "cli/score_settings.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "measured/instrument_preset.h"
#include "measured/profile_width.h"
#include "text/error.h"
#include "text/trim.h"

namespace orvane::cli {

find::MassTolerance toleranceOf(const CommandLine& commandLine) {
    if (commandLine.milliDaltons) {
        return {*commandLine.milliDaltons, true};
    }
    find::MassTolerance tolerance;
    if (commandLine.ppm) {
        tolerance.value = *commandLine.ppm;
    }
    return tolerance;
}

find::IsotopeScoreSettings scoreSettingsOf(const CommandLine& commandLine, double target) {
    const measured::InstrumentPreset* preset =
        commandLine.instrument ? measured::findInstrumentPreset(*commandLine.instrument) : nullptr;
    std::optional<double> resolvingPower;
    if (commandLine.resolvingPower) {
        const std::string_view text = text::trimBlanks(*commandLine.resolvingPower);
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
            !std::isfinite(value) || !(value > 0)) {
            throw text::Error("Resolving power '" + *commandLine.resolvingPower +
                              "' must be a number above 0.");
        }
        resolvingPower = value;
    }
    find::IsotopeScoreSettings settings =
        find::instrumentScoreSettings(preset, resolvingPower, target);
    settings.intensityA = commandLine.intensitySigmaA.value_or(settings.intensityA);
    settings.intensityB = commandLine.intensitySigmaB.value_or(settings.intensityB);
    return settings;
}

find::IsotopeScoreSettings scoreSettingsOf(const CommandLine& commandLine, double target,
                                           const measured::Spectrum* profilePoints,
                                           std::optional<double>* measured) {
    find::IsotopeScoreSettings settings = scoreSettingsOf(commandLine, target);
    if (profilePoints != nullptr && !commandLine.resolvingPower) {
        // the peak's own width, within a few of the widest FWHM a preset allows around it
        const std::optional<double> shown =
            measured::profileResolvingPower(*profilePoints, target, target * 2e-5);
        if (shown) {
            settings.resolvingPower = *shown;
            if (measured != nullptr) {
                *measured = shown;
            }
        }
    }
    return settings;
}

} // namespace orvane::cli
