#include "ion/charge_ladder.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formula/element_symbols.h"
#include "session/session_test_support.h"
#include "text/error.h"

namespace orvane::session {
namespace {

using namespace ions;

using testing::ShippedSession;

constexpr const char* ubiquitin = "C378H629N105O118S1";

std::string errorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const text::Error& error) {
        return error.what();
    }
    return "no error";
}

std::vector<int> chargesOf(const std::vector<LadderRung>& ladder) {
    std::vector<int> charges;
    for (const LadderRung& rung : ladder) {
        charges.push_back(rung.charge);
    }
    return charges;
}

std::vector<int> sequence(int first, int last) {
    std::vector<int> values;
    for (int z = first; z <= last; ++z) {
        values.push_back(z);
    }
    return values;
}

// A "z" that multiplies the molecule or an adduct without the charge gives rungs of one
// charge: refused, with and without a range, rather than named by charges they lack.
TEST(ChargeLadder, AZThatIsNotTheChargeIsRefused) {
    const ShippedSession glucose("C6H12O6");
    const struct {
        const char* ion;
        std::optional<ChargeRange> range;
        std::string error;
    } cases[] = {
        {"[zM+H]+", ChargeRange{1, 3},
         "In the ion [zM+H]+, z is not the charge: at z = 2 it is [2M+H]+. A ladder of charge "
         "states needs z as the charge, as in [M+zH]z+."},
        {"[zM+H]+", std::nullopt,
         "In the ion [zM+H]+, z is not the charge: at z = 2 it is [2M+H]+. A ladder of charge "
         "states needs z as the charge, as in [M+zH]z+."},
        {"[M+zH2O+H]+", ChargeRange{2, 4},
         "In the ion [M+zH2O+H]+, z is not the charge: at z = 2 it is [M+2H2O+H]+. A ladder of "
         "charge states needs z as the charge, as in [M+zH]z+."},
        {"[M+zH]z+", ChargeRange{1, 3}, "no error"},
        {"[zM+zH]z+", ChargeRange{1, 3}, "no error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ion);
        EXPECT_EQ(errorOf([&] {
                      computeChargeLadder(moleculeOf(glucose.session.state()), nullptr, c.ion,
                                          c.range, '.');
                  }),
                  c.error);
    }
}

TEST(ChargeLadder, ARungTheMoleculeCannotFormIsRefusedWithinARange) {
    const ShippedSession glucose("C6H12O6");
    // twelve hydrogens to give: the 13th cannot be taken away
    EXPECT_EQ(errorOf([&] {
                  computeChargeLadder(moleculeOf(glucose.session.state()), glucose.measuredPoints(),
                                      "[M-zH]z-", ChargeRange{10, 13}, '.');
              }),
              errorOf([&] { glucose.ion("[M-zH]z-", 13); }));
    EXPECT_NE(errorOf([&] { glucose.ion("[M-zH]z-", 13); }), "no error");
    // [M]z+ of H2 cannot lose three electrons
    const ShippedSession hydrogen("H2");
    EXPECT_EQ(errorOf([&] {
                  computeChargeLadder(moleculeOf(hydrogen.session.state()),
                                      hydrogen.measuredPoints(), "[M]z+", ChargeRange{1, 3}, '.');
              }),
              "The ion [M]3+ of H2 has 2 electrons; it cannot lose 3.");
    EXPECT_EQ(errorOf([&] {
                  computeChargeLadder(moleculeOf(glucose.session.state()), glucose.measuredPoints(),
                                      "[M+zH", std::nullopt, '.');
              }).substr(0, 13),
              "Ion notation ");
    // without a range, what cannot be formed is no rung
    const std::vector<LadderRung> anions =
        computeChargeLadder(moleculeOf(glucose.session.state()), glucose.measuredPoints(),
                            "[M-zH]z-", std::nullopt, '.');
    for (const LadderRung& rung : anions) {
        EXPECT_LE(std::abs(rung.charge), 12);
    }
}

// Worked by hand from the shipped masses.txt and abundances.txt, electron 0.000548579909065:
// M mono = 378 x 12 + 629 x 1.00782503223 + 105 x 14.00307400443 + 118 x 15.99491461957
//          + 31.9720711744 = 8559.61671202148
// average atoms: C 12.010735896735, H 1.00794075405578, N 14.006743092842,
//   O 15.9994049243183, S 32.066085164186, so M average = 8564.756794249116
// z = 5:  (8559.61671202148 + 5 x 1.00782503223 - 5 x 0.000548579909065) / 5 = 1712.930618857
//         (8564.756794249116 + 5 x 1.00794075405578 - 5 x 0.000548579909065) / 5 = 1713.958751024
// z = 10: (8559.61671202148 + 10 x 1.00782503223 - 10 x 0.000548579909065) / 10 = 856.968947654
//         (8564.756794249116 + 10 x 1.00794075405578 - 10 x 0.000548579909065) / 10 = 857.483071599
TEST(ChargeLadder, UbiquitinWorkedByHand) {
    const ShippedSession protein(ubiquitin);
    const std::vector<LadderRung> ladder =
        computeChargeLadder(moleculeOf(protein.session.state()), protein.measuredPoints(),
                            "[M+zH]z+", ChargeRange{5, 10}, '.');
    ASSERT_EQ(chargesOf(ladder), sequence(5, 10));
    const struct {
        int charge;
        double monoisotopicMz;
        double averageMz;
    } cases[] = {{5, 1712.930618857, 1713.958751024}, {10, 856.968947654, 857.483071599}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charge);
        const LadderRung& rung = ladder.at(static_cast<std::size_t>(c.charge - 5));
        EXPECT_EQ(rung.ion,
                  "[M+" + std::to_string(c.charge) + "H]" + std::to_string(c.charge) + "+");
        EXPECT_NEAR(rung.monoisotopicMz, c.monoisotopicMz, 2e-9);
        EXPECT_NEAR(rung.averageMz, c.averageMz, 2e-9);
        // the tallest cluster lies some 5 u above the monoisotopic mass of a protein this size
        EXPECT_GT(rung.mostAbundantMz, rung.monoisotopicMz);
        EXPECT_LT(rung.mostAbundantMz, rung.averageMz);
    }
}

// Each rung agrees with the ion computed whole, with labels and two molecules too.
TEST(ChargeLadder, RungsAgreeWithTheIonComputedWhole) {
    const struct {
        const char* formula;
        const char* ion;
        ChargeRange range;
    } cases[] = {
        {ubiquitin, "[M+zH]z+", {1, 12}},
        {ubiquitin, "[M+Na]+", {2, 6}},
        {ubiquitin, "[M-zH]z-", {3, 9}},
        {ubiquitin, "[M+zNH4]z+", {4, 8}},
        {"[13C]6{99%}C94H150N25O30S", "[M+zH]z+", {1, 5}},
        {"[15N]20C100H150N5O30[2H]3", "[2M+zNa]z+", {1, 4}},
        {"peptide(<13C>PEPTIDEKR)", "[M-H2O+H]+", {1, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.formula) + " " + c.ion);
        const ShippedSession molecule(c.formula);
        const std::vector<LadderRung> ladder = computeChargeLadder(
            moleculeOf(molecule.session.state()), molecule.measuredPoints(), c.ion, c.range, '.');
        ASSERT_EQ(chargesOf(ladder).size(),
                  static_cast<std::size_t>(c.range.last - c.range.first + 1));
        for (const LadderRung& rung : ladder) {
            SCOPED_TRACE(rung.ion);
            const IonResult whole = molecule.ion(rung.ion);
            EXPECT_EQ(rung.charge, whole.charge);
            EXPECT_EQ(rung.monoisotopicMz, whole.monoisotopicMz);
            EXPECT_EQ(rung.averageMz, whole.averageMz);
            EXPECT_NEAR(rung.mostAbundantMz, whole.mostAbundantMz, 1e-12 * whole.mostAbundantMz);
        }
    }
}

TEST(ChargeLadder, TheDefaultRangeKeepsTheMostAbundantMzIn300To3000) {
    const struct {
        const char* formula;
        int first;
        int last;
    } cases[] = {
        // reserpine, 608.27: [M+H]+ at 609.3 and [M+2H]2+ at 305.1, [M+3H]3+ at 203.8
        {"C33H40N2O9", 1, 2},
        // ubiquitin, most abundant about 8564: 3+ at 2855.9 (2+ at 4283), 28+ at 306.9
        // (29+ at 296.3)
        {ubiquitin, 3, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const ShippedSession molecule(c.formula);
        const std::vector<LadderRung> ladder =
            computeChargeLadder(moleculeOf(molecule.session.state()), molecule.measuredPoints(),
                                "[M+zH]z+", std::nullopt, '.');
        EXPECT_EQ(chargesOf(ladder), sequence(c.first, c.last));
        for (const LadderRung& rung : ladder) {
            EXPECT_GE(rung.mostAbundantMz, 300);
            EXPECT_LE(rung.mostAbundantMz, 3000);
        }
    }
    // glucose has no charge state there
    EXPECT_TRUE(computeChargeLadder(moleculeOf(ShippedSession("C6H12O6").session.state()), nullptr,
                                    "[M+zH]z+", std::nullopt, '.')
                    .empty());
}

TEST(ChargeLadder, AMeasuredSpectrumSetsTheDefaultRange) {
    ShippedSession protein(ubiquitin);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "orvane_ladder_window.txt";
    {
        std::ofstream out(path);
        out << "700\t10\n950\t100\n1200\t5\n";
    }
    protein.session.showMeasuredSpectrum(protein.session.readMeasuredFile(path.string()), 0);
    const MzWindow window = ladderWindow(protein.measuredPoints());
    EXPECT_EQ(window.low, 700);
    EXPECT_EQ(window.high, 1200);
    // 8564 / 8 = 1070.6 and 8564 / 12 = 713.7 lie inside; 7+ (1224) and 13+ (659) do not
    EXPECT_EQ(chargesOf(protein.session.currentLadder()), sequence(8, 12));
    protein.session.closeMeasuredSpectrum();
    EXPECT_EQ(chargesOf(protein.session.currentLadder()), sequence(3, 28));
    std::filesystem::remove(path);
}

TEST(ChargeLadder, ChoosingARungSetsTheIonAndTheCharge) {
    ShippedSession protein(ubiquitin);
    protein.session.setLadderRangeText("x");
    EXPECT_EQ(errorOf([&] { protein.session.currentLadder(); }),
              "The charges \"x\" are not a range such as \"5-20\".");
    protein.session.setLadderRangeText("4-6");
    const struct {
        const char* ionBox;
        std::size_t row;
        const char* ionAfter;
        int chargeAfter;
        const char* shownIon;
    } cases[] = {
        {"[M+zH]z+", 1, "[M+zH]z+", 5, "[M+5H]5+"},
        {"[M+Na]+", 2, "[M+zNa]z+", 6, "[M+6Na]6+"}, // "z" keeps the ladder as it was
        {"[M+2H]2+", 0, "[M+4H]4+", 4, "[M+4H]4+"},  // 2+, 4+, 6+: the 4+ rung
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ionBox);
        protein.session.setIonText(c.ionBox);
        const std::vector<LadderRung> before = protein.session.currentLadder();
        protein.session.chooseLadderRung(before.at(c.row));
        EXPECT_EQ(protein.session.state().ionText, c.ionAfter);
        EXPECT_EQ(protein.session.state().settings.charge.value(), c.chargeAfter);
        EXPECT_EQ(protein.session.currentIon().ion, c.shownIon);
    }
}

} // namespace
} // namespace orvane::session
