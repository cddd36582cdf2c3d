#include <string>

#include <gtest/gtest.h>

#include "ion/ion_result.h"

namespace orvane::ions {
namespace {

// The main window draws the molecule's mass over the charge; the ion's m/z is named beside
// it only where the two part.
TEST(MainAxisNotice, NamesTheAxisWhereItPartsFromTheIon) {
    const double peptide = 652.2354; // M of the molecule
    const struct {
        const char* name;
        double ionMz;
        int mainCharge;
        const char* notice;
    } cases[] = {
        {"the neutral molecule", peptide, 0, ""},
        {"[M]+, one electron off", peptide - 0.000548579909065, 1, ""},
        {"[M+2H]2+", (peptide + 2 * 1.00782503223 - 2 * 0.000548579909065) / 2, 2,
         "the main window's m/z axis is M/2 (326.1177), without the ion's adducts and "
         "electrons"},
        {"[M-H]-", peptide - 1.00782503223 + 0.000548579909065, -1,
         "the main window's m/z axis is M/1 (652.2354), without the ion's adducts and "
         "electrons"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IonResult ion;
        ion.monoisotopicMass = peptide;
        ion.monoisotopicMz = c.ionMz;
        EXPECT_EQ(mainAxisNotice(ion, c.mainCharge, '.'), c.notice);
    }
}

} // namespace
} // namespace orvane::ions
