#include "session/charge_ladder.h"

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

// What the range box takes, what it refuses and why; a range read back from its text.
TEST(ChargeRange, ReadsRangesAndSingleChargesAndSaysWhyItRefuses) {
    const struct {
        const char* text;
        std::optional<ChargeRange> range;
        const char* error;
    } cases[] = {
        {"0-5", {}, "The charges \"0-5\" start below 1."},
        {"1-101", {}, "The charges \"1-101\" go above 100."},
        {"9-3", {}, "The charges \"9-3\" run backwards; the smaller comes first."},
        {"a-3", {}, "The charges \"a-3\" are not a range such as \"5-20\"."},
        {"3-", {}, "The charges \"3-\" are not a range such as \"5-20\"."},
        {"-3", {}, "The charges \"-3\" are not a range such as \"5-20\"."},
        {"2.5", {}, "The charges \"2.5\" are not a range such as \"5-20\"."},
        {"1-2-3", {}, "The charges \"1-2-3\" are not a range such as \"5-20\"."},
        {"", std::nullopt, nullptr},
        {"  ", std::nullopt, nullptr},
        {"5-20", ChargeRange{5, 20}, nullptr},
        {" 7 ", ChargeRange{7, 7}, nullptr},
        {"2 - 4", ChargeRange{2, 4}, nullptr},
        {"1-100", ChargeRange{1, 100}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.error != nullptr) {
            EXPECT_EQ(errorOf([&] { readChargeRange(c.text); }), c.error);
            continue;
        }
        EXPECT_EQ(readChargeRange(c.text), c.range);
        if (c.range) {
            EXPECT_EQ(readChargeRange(chargeRangeText(*c.range)), c.range);
        }
    }
}

TEST(ChargeLadder, ARungTheMoleculeCannotFormIsRefusedWithinARange) {
    const ShippedSession glucose("C6H12O6");
    // twelve hydrogens to give: the 13th cannot be taken away
    EXPECT_EQ(
        errorOf([&] {
            computeChargeLadder(glucose.session.state(), "[M-zH]z-", ChargeRange{10, 13}, '.');
        }),
        errorOf([&] { glucose.ion("[M-zH]z-", 13); }));
    EXPECT_NE(errorOf([&] { glucose.ion("[M-zH]z-", 13); }), "no error");
    // [M]z+ of H2 cannot lose three electrons
    const ShippedSession hydrogen("H2");
    EXPECT_EQ(errorOf([&] {
                  computeChargeLadder(hydrogen.session.state(), "[M]z+", ChargeRange{1, 3}, '.');
              }),
              "The ion [M]3+ of H2 has 2 electrons; it cannot lose 3.");
    EXPECT_EQ(errorOf([&] {
                  computeChargeLadder(glucose.session.state(), "[M+zH", std::nullopt, '.');
              }).substr(0, 13),
              "Ion notation ");
    // without a range, what cannot be formed is no rung
    const std::vector<LadderRung> anions =
        computeChargeLadder(glucose.session.state(), "[M-zH]z-", std::nullopt, '.');
    for (const LadderRung& rung : anions) {
        EXPECT_LE(std::abs(rung.charge), 12);
    }
}

// Worked by hand from the shipped masses.txt and abundances.txt, electron 0.000548579909065:
// M mono = 378 x 12 + 629 x 1.007825032 + 105 x 14.003074 + 118 x 15.99491462 + 31.972071
//        = 8559.616711288
// average atoms: C 12.010735896788, H 1.00794075382579, N 14.006743088432,
//   O 15.9994049275694, S 32.066084993038, so M average = 8564.756793874
// z = 5:  (8559.616711288 + 5 x 1.007825032 - 5 x 0.000548579909065) / 5 = 1712.930618710
//         (8564.756793874 + 5 x 1.00794075382579 - 5 x 0.000548579909065) / 5 = 1713.958750949
// z = 10: (8559.616711288 + 10 x 1.007825032 - 10 x 0.000548579909065) / 10 = 856.968947581
//         (8564.756793874 + 10 x 1.00794075382579 - 10 x 0.000548579909065) / 10 = 857.483071561
TEST(ChargeLadder, UbiquitinWorkedByHand) {
    const ShippedSession protein(ubiquitin);
    const std::vector<LadderRung> ladder =
        computeChargeLadder(protein.session.state(), "[M+zH]z+", ChargeRange{5, 10}, '.');
    ASSERT_EQ(chargesOf(ladder), sequence(5, 10));
    const struct {
        int charge;
        double monoisotopicMz;
        double averageMz;
    } cases[] = {{5, 1712.930618710, 1713.958750949}, {10, 856.968947581, 857.483071561}};
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
        const std::vector<LadderRung> ladder =
            computeChargeLadder(molecule.session.state(), c.ion, c.range, '.');
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
            computeChargeLadder(molecule.session.state(), "[M+zH]z+", std::nullopt, '.');
        EXPECT_EQ(chargesOf(ladder), sequence(c.first, c.last));
        for (const LadderRung& rung : ladder) {
            EXPECT_GE(rung.mostAbundantMz, 300);
            EXPECT_LE(rung.mostAbundantMz, 3000);
        }
    }
    // glucose has no charge state there
    EXPECT_TRUE(computeChargeLadder(ShippedSession("C6H12O6").session.state(), "[M+zH]z+",
                                    std::nullopt, '.')
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
    const MzWindow window = ladderWindow(protein.session.state());
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
