#include "ion/ion_result.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "session/session_test_support.h"
#include "text/error.h"

namespace orvane::session {
namespace {

using namespace ions;

using testing::ShippedSession;

// Worked by hand from the shipped exact masses, to 5 decimals.
TEST(IonResult, GlucoseAndHeminIonsWorkedByHand) {
    const ShippedSession glucose("C6H12O6");
    const struct {
        const char* ion;
        int charge;
        double monoisotopicMz;
        const char* ionFormula;
    } cases[] = {
        {"[M+zH]z+", 1, 181.07066, "H13C6O6"}, {"[M+Na]+", 1, 203.05261, "H12C6O6Na1"},
        {"[M-H]-", 1, 179.05611, "H11C6O6"},   {"[2M+Na]+", 1, 383.11600, "H24C12O12Na1"},
        {"[M+zH]z+", 2, 91.03897, "H14C6O6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ion);
        const IonResult result = glucose.ion(c.ion, c.charge);
        EXPECT_NEAR(result.monoisotopicMass, 180.06339, 5e-6);
        // the molecule's masses are the same bits whatever the ion
        EXPECT_EQ(result.monoisotopicMass, glucose.ion("[M]+").monoisotopicMass);
        EXPECT_EQ(result.averageMass, glucose.ion("[M]+").averageMass);
        EXPECT_NEAR(result.monoisotopicMz, c.monoisotopicMz, 5e-6);
        EXPECT_EQ(result.moleculeFormula, "H12C6O6");
        EXPECT_EQ(result.ionFormula, c.ionFormula);
        EXPECT_EQ(result.clusters.front().intensity, 100.0);
        EXPECT_NEAR(result.clusters.front().mz, result.monoisotopicMz, 1e-4);
    }
    const IonResult hemin = ShippedSession("C34H32ClFeN4O4").ion("[M-Cl]+");
    EXPECT_NEAR(hemin.monoisotopicMz, 616.17674, 5e-6);
    EXPECT_EQ(hemin.charge, 1);
}

TEST(IonResult, AnIonTheMoleculeCannotGiveIsRefused) {
    const ShippedSession glucose("C6H12O6");
    EXPECT_THROW(glucose.ion("[M-Cl]+"), text::Error);
    EXPECT_THROW(glucose.ion("[M+Xy]+"), text::Error);
    EXPECT_THROW(glucose.ion("M+H"), text::Error);
}

} // namespace
} // namespace orvane::session

namespace orvane::session {
namespace {

using namespace ions;

// [2M+Na]+ holds two molecules, and so twice the labels.
TEST(IonResult, TwoMoleculesCarryTwiceTheLabels) {
    const testing::ShippedSession labelled("[13C]6H12O6");
    const struct {
        const char* ion;
        const char* ionFormula;
        int labelledAtoms;
    } cases[] = {
        {"[M+Na]+", "H12[13C]6O6Na1", 6},
        {"[2M+Na]+", "H24[13C]12O12Na1", 12},
        {"[3M+H]+", "H37[13C]18O18", 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ion);
        const IonResult ion = labelled.ion(c.ion);
        EXPECT_EQ(ion.ionFormula, c.ionFormula);
        ASSERT_EQ(ion.ionLabels.size(), 1u);
        EXPECT_EQ(ion.ionLabels[0].atoms, c.labelledAtoms);
        // every 13C is 1.00335483507 u heavier than the 12C of the unlabelled ion
        const IonResult natural = testing::ShippedSession("C6H12O6").ion(c.ion);
        EXPECT_NEAR(ion.monoisotopicMz - natural.monoisotopicMz,
                    c.labelledAtoms * 1.00335483507 / ion.charge, 1e-9);
    }
}

} // namespace
} // namespace orvane::session
