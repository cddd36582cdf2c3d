// The charge a sequence's "/z" brings lasts for its own formula: the next formula finds the
// ion and charge boxes as they were, unless the user changed them meanwhile.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "session/session_test_support.h"

namespace orvane::session {
namespace {

using testing::ShippedSession;

TEST(SequenceCharge, LastsForItsOwnFormulaOnly) {
    struct Step {
        const char* formula; // entered as text; nullptr: the charge box typed instead
        const char* typed;   // what the charge box was typed, with no formula
        const char* ionText; // the ion box afterwards
        const char* chargeText;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"back after the peptide",
         {{"peptide(PEPTIDEK/2)", nullptr, "[M+zH]z+", "2"},
          {"C6H12O6", nullptr, "[M+zNa]z+", "1"}}},
        {"two sequences, then back to the first boxes",
         {{"peptide(PEPTIDEK/2)", nullptr, "[M+zH]z+", "2"},
          {"peptide(ACDK/3)", nullptr, "[M+zH]z+", "3"},
          {"C6H12O6", nullptr, "[M+zNa]z+", "1"}}},
        {"a charge typed since stands",
         {{"peptide(PEPTIDEK/2)", nullptr, "[M+zH]z+", "2"},
          {nullptr, "4", "[M+zH]z+", "4"},
          {"C6H12O6", nullptr, "[M+zH]z+", "4"}}},
        {"a negative charge, the deprotonated ion, then back",
         {{"peptide(PEPTIDEK/-1)", nullptr, "[M-zH]z-", "1"},
          {"C6H12O6", nullptr, "[M+zNa]z+", "1"}}},
        {"a sequence without a charge keeps the boxes",
         {{"peptide(PEPTIDEK)", nullptr, "[M+zNa]z+", "1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShippedSession shipped("H2O");
        shipped.session.setIonText("[M+zNa]z+");
        shipped.session.setChargeText("1");
        for (const Step& step : c.steps) {
            SCOPED_TRACE(step.formula ? step.formula : step.typed);
            if (step.formula) {
                shipped.session.enterFormula(step.formula);
            } else {
                shipped.session.setChargeText(step.typed);
            }
            EXPECT_EQ(shipped.session.state().ionText, step.ionText);
            EXPECT_EQ(shipped.session.state().settings.charge.text(), step.chargeText);
        }
    }
}

} // namespace
} // namespace orvane::session
