#include "measured/instrument_preset.h"

#include <string>

#include <gtest/gtest.h>

namespace orvane::measured {
namespace {

TEST(InstrumentPreset, FoundByNameWithoutCaseOrPunctuation) {
    const struct {
        const char* typed;
        const char* name; // nullptr: none
    } cases[] = {
        {"Orbitrap", "Orbitrap"},
        {"orbitrap", "Orbitrap"},
        {"FT-ICR", "FT-ICR"},
        {"fticr", "FT-ICR"},
        {"ft_icr", "FT-ICR"},
        {"QTOF", "QTOF"},
        {"Q-TOF", "QTOF"},
        {"it-tof", "IT-TOF"},
        {"IT TOF", "IT-TOF"},
        {"TOF", nullptr},
        {"", nullptr},
        {"orbitrapp", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const InstrumentPreset* preset = findInstrumentPreset(c.typed);
        if (c.name == nullptr) {
            EXPECT_EQ(preset, nullptr);
        } else {
            ASSERT_NE(preset, nullptr);
            EXPECT_EQ(preset->name, c.name);
        }
    }
}

TEST(InstrumentPreset, ResolvingPowerFallsWithMzAsTheAnalyserMakesIt) {
    const InstrumentPreset& orbitrap = *findInstrumentPreset("Orbitrap");
    const InstrumentPreset& ftIcr = *findInstrumentPreset("FT-ICR");
    const InstrumentPreset& qtof = *findInstrumentPreset("QTOF");
    EXPECT_DOUBLE_EQ(resolvingPowerAt(orbitrap, 60'000, 400), 60'000);
    EXPECT_DOUBLE_EQ(resolvingPowerAt(orbitrap, 60'000, 1'600), 30'000); // 1/sqrt(m/z)
    EXPECT_DOUBLE_EQ(resolvingPowerAt(ftIcr, 200'000, 800), 100'000);    // 1/(m/z)
    EXPECT_DOUBLE_EQ(resolvingPowerAt(qtof, 30'000, 1'500), 30'000);     // flat
    // the Orbitrap's intensities stray far less than a time-of-flight's
    EXPECT_LT(orbitrap.intensityA + orbitrap.intensityB, qtof.intensityA + qtof.intensityB);
    EXPECT_LT(orbitrap.massSigmaPpm, qtof.massSigmaPpm);
}

} // namespace
} // namespace orvane::measured
