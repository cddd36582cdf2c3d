#include "ion/typed_ion.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "ion/ion_result.h"

namespace orvane::ions {
namespace {

TEST(IonResult, ThePresetsFollowTheCharge) {
    const struct {
        const char* preset;
        int charge;
        const char* expanded;
    } cases[] = {
        {"[M+zH]z+", 1, "[M+H]+"}, {"[M+zH]z+", 2, "[M+2H]2+"}, {"[M-zH]z-", 3, "[M-3H]3-"},
        {"[M]z+", 1, "[M]+"},      {"[M+Na]+", 5, "[M+Na]+"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expanded);
        EXPECT_EQ(expandIon(c.preset, c.charge), c.expanded);
    }
}

// A sequence's "/z" fills what was not asked for; what was asked for stands and says what
// of the sequence's charge it replaces. The same rule for the window, a run and a batch line.
TEST(TypedIon, WhatWasAskedForStandsAndSaysWhatItReplaces) {
    const std::optional<std::string> none;
    const struct {
        std::optional<int> sequenceCharge;
        std::optional<std::string> ion;
        std::optional<std::string> charge;
        const char* ionText;
        const char* chargeText;
        const char* notice;
    } cases[] = {
        // no sequence charge: the asked or else the current texts, never a notice
        {std::nullopt, none, none, "[M-zH]z-", "3", ""},
        {std::nullopt, "[M+Na]+", none, "[M+Na]+", "3", ""},
        {std::nullopt, none, "2", "[M-zH]z-", "2", ""},
        // "/2" alone: protonated, charge 2, whatever the boxes held
        {2, none, none, "[M+zH]z+", "2", ""},
        {2, "[M+Na]+", none, "[M+Na]+", "2",
         "the ion [M+Na]+ asked for replaces the sequence's /2 ([M+2H]2+)"},
        {3, none, "1", "[M+zH]z+", "1",
         "the charge 1 asked for replaces the sequence's /3 ([M+3H]3+)"},
        {2, "[M-zH]z-", "4", "[M-zH]z-", "4",
         "the ion [M-zH]z- and the charge 4 asked for replace the sequence's /2 ([M+2H]2+)"},
        // "/-1": the deprotonated ion, the charge box holding |z|
        {-1, none, none, "[M-zH]z-", "1", ""},
        {-2, "[M+Na]+", none, "[M+Na]+", "2",
         "the ion [M+Na]+ asked for replaces the sequence's /-2 ([M-2H]2-)"},
        // asking for what the sequence gives still names it: the user said it twice
        {1, "[M+zH]z+", none, "[M+zH]z+", "1",
         "the ion [M+zH]z+ asked for replaces the sequence's /1 ([M+H]+)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notice);
        const TypedIon typed = typedIon(c.sequenceCharge, c.ion, c.charge, "[M-zH]z-", "3");
        EXPECT_EQ(typed.ionText, c.ionText);
        EXPECT_EQ(typed.chargeText, c.chargeText);
        EXPECT_EQ(typed.notice, c.notice);
    }
}

} // namespace
} // namespace orvane::ions
