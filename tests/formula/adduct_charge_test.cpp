#include "formula/adduct_charge.h"

#include <gtest/gtest.h>

#include "formula/formula_test_support.h"

namespace orvane::formula {
namespace {

TEST(AdductCharge, NamesAChargeTheAdductsDoNotGive) {
    const struct {
        const char* notation;
        const char* notice; // "" when the charge is what the adducts give
    } cases[] = {
        {"[M+H]2+", "[M+H]2+: the adducts give the charge 1+, not 2+; computed as written "
                    "(meant [M+2H]2+?)"},
        {"[M+H]3+", "[M+H]3+: the adducts give the charge 1+, not 3+; computed as written "
                    "(meant [M+3H]3+?)"},
        {"[M+2H]+", "[M+2H]+: the adducts give the charge 2+, not 1+; computed as written "
                    "(meant [M+H]+?)"},
        {"[M+Na]-", "[M+Na]-: the adducts give the charge 1+, not 1-; computed as written"},
        {"[M+Na+H]+", "[M+Na+H]+: the adducts give the charge 2+, not 1+; computed as written"},
        {"[M-H2O+H]+", ""},
        {"[M+2H]2+", ""},
        {"[M-H]-", ""},
        {"[M+Cl]-", ""},
        {"[2M+Na]+", ""},
        {"[M]+", ""},      // a radical ion: the adducts give no charge
        {"[M-H2O]2+", ""}, // likewise
        {"[M+Fe]2+", ""},  // Fe's charge is not known, so nothing is said
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notation);
        EXPECT_EQ(chargeNotice(readIonNotation(c.notation, support::symbols, '.')), c.notice);
    }
    EXPECT_EQ(adductCharge(readIonNotation("[M+2Na-H]+", support::symbols, '.')), 1);
    EXPECT_FALSE(adductCharge(readIonNotation("[M+Fe]2+", support::symbols, '.')));
}

} // namespace
} // namespace orvane::formula
