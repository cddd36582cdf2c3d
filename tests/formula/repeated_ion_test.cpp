#include "formula/repeated_ion.h"

#include <gtest/gtest.h>

#include "formula/formula_test_support.h"

namespace orvane::formula {
namespace {

TEST(RepeatedIon, ChargedAdductsAreRepeatedNeutralOnesKept) {
    const struct {
        const char* notation;
        int times;
        const char* repeated;
        const char* boxTemplate; // "" where "z" cannot say it
    } cases[] = {
        {"[M+2H]2+", 3, "[M+6H]6+", ""},          // the charge is not 1
        {"[M+2Na-H]+", 2, "[M+4Na-2H]2+", ""},    // a charged term with its own multiplier
        {"[M+Fe]+", 2, "[M+2Fe]2+", "[M+zFe]z+"}, // unknown charge counts as charged
        {"[M+H]+", 1, "[M+H]+", "[M+zH]z+"},
        {"[M+Na]+", 3, "[M+3Na]3+", "[M+zNa]z+"},
        {"[M-H]-", 2, "[M-2H]2-", "[M-zH]z-"},
        {"[M-H2O+H]+", 2, "[M-H2O+2H]2+", "[M-H2O+zH]z+"},
        {"[M-2H2O+H]+", 4, "[M-2H2O+4H]4+", "[M-2H2O+zH]z+"},
        {"[2M+Na]+", 2, "[2M+2Na]2+", "[2M+zNa]z+"},
        {"[M]+", 4, "[M]4+", "[M]z+"},
        {"[M+Cl]-", 2, "[M+2Cl]2-", "[M+zCl]z-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notation);
        const IonNotation ion = readIonNotation(c.notation, support::symbols, '.');
        EXPECT_EQ(repeatedIonText(ion, c.times), c.repeated);
        EXPECT_EQ(repeatedIonTemplate(ion), c.boxTemplate);
        // what is written reads back as the ion of that charge
        EXPECT_EQ(readIonNotation(repeatedIonText(ion, c.times), support::symbols, '.').charge,
                  ion.charge * c.times);
    }
}

} // namespace
} // namespace orvane::formula
