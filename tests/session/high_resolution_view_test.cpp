#include "ion/high_resolution_view.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/separated_fine_peaks.h"
#include "ion/ion_profile.h"
#include "session/session_test_support.h"
#include "text/error.h"

namespace orvane::session {
namespace {

using namespace ions;

using testing::ShippedSession;

TEST(HighResolutionView, TheBoxesMustHoldUsableNumbers) {
    ShippedSession glucose("C6H12O6");
    const struct {
        const char* resolvingPower;
        const char* coverage;
        const char* error; // "" when taken
    } cases[] = {
        {"60000", "0.9999", ""},
        {"1e7", "1", ""},
        {"abc", "0.9999", "Resolving power 'abc' is not a number."},
        {"0", "0.9999", "Resolving power '0' must be above 0."},
        {"60000", "1.5", "Coverage '1.5' must be above 0 and at most 1."},
        {"60000", "", "Coverage '' is not a number."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        glucose.session.setResolvingPowerText(c.resolvingPower);
        glucose.session.setCoverageText(c.coverage);
        try {
            const profile::ProfileSettings settings =
                profileSettingsOf(profileBoxesOf(glucose.session.state()), '.');
            EXPECT_STREQ(c.error, "");
            EXPECT_GT(settings.resolvingPower, 0);
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

TEST(HighResolutionView, TheIonsProfileAndLabelsComeFromTheDataFiles) {
    ShippedSession glucose("C6H12O6");
    const IonResult ion = glucose.ion("[M+zH]z+");
    const profile::ProfileInput input = profileInputFor(glucose.session.state().tables, ion, '.');
    ASSERT_EQ(input.elements.size(), 3u); // H, C, O
    EXPECT_EQ(input.charge, 1);
    EXPECT_EQ(input.elements[0].atomCount, 13);
    EXPECT_EQ(input.clusters.size(), ion.clusters.size());

    const profile::Profile shape = profile::computeProfile(input, {});
    ASSERT_TRUE(shape.fromFineStructure);
    // The tallest fine peak is the monoisotopic ion.
    EXPECT_NEAR(shape.sticks.front().mz, ion.monoisotopicMz, 1e-6);

    // Labels follow the main window's threshold (tenths of a percent).
    glucose.session.setThresholdText("70"); // 7 %
    const plot::HighResolutionContent content = highResolutionContent(
        labelThresholdOf(glucose.session.state()), nullptr, ion, &shape, std::nullopt, '.');
    ASSERT_EQ(content.labelled.size(), 1u);
    EXPECT_EQ(content.labelled[0].intensity, 100.0);
    EXPECT_EQ(content.sticks.size(), shape.sticks.size());
    EXPECT_TRUE(content.measured.empty());
    EXPECT_EQ(content.title, "[M+H]+  H13C6O6");
}

TEST(HighResolutionView, FinePeaksAreNamedByTheDataFilesIsotopes) {
    ShippedSession glucose("C6H12O6");
    const IonResult ion = glucose.ion("[M+zH]z+");
    const profile::ProfileInput input = profileInputFor(glucose.session.state().tables, ion, '.');
    profile::ProfileSettings settings;
    settings.resolvingPower = 200'000;
    settings.compositionLimit = 10'000;
    const profile::Profile shape = profile::computeProfile(input, settings);
    ASSERT_EQ(shape.compositions.peakCount(), shape.sticks.size());
    EXPECT_TRUE(profile::finePeaksSeparate(shape, ion.charge));

    // the hand count from the same data: n p13 / p12 for one 13C, and so on
    const auto ratioOf = [&input](const char* symbol, int heavySlot) {
        for (const profile::ElementAtoms& element : input.elements) {
            if (element.symbol == symbol) {
                return element.atomCount * element.isotopes[heavySlot].probability /
                       element.isotopes[0].probability;
            }
        }
        return 0.0;
    };
    const struct {
        const char* text;
        double ratio;
    } cases[] = {
        {"13C1", ratioOf("C", 1)},
        {"2H1", ratioOf("H", 1)},
        {"18O1", ratioOf("O", 2)},
        {"13C1 18O1", ratioOf("C", 1) * ratioOf("O", 2)},
    };
    std::optional<double> mono;
    for (std::size_t k = 0; k < shape.sticks.size(); ++k) {
        if (shape.compositions.text(k).empty()) {
            mono = shape.sticks[k].intensity;
        }
    }
    ASSERT_TRUE(mono.has_value());
    EXPECT_EQ(*mono, 100.0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_GT(c.ratio, 0);
        int found = 0;
        for (std::size_t k = 0; k < shape.sticks.size(); ++k) {
            if (shape.compositions.text(k) == c.text) {
                ++found;
                EXPECT_NEAR(shape.sticks[k].intensity / *mono, c.ratio, c.ratio * 1e-9);
            }
        }
        EXPECT_EQ(found, 1);
    }
    // about 6.5 % for six carbons, as a user checks it
    EXPECT_NEAR(ratioOf("C", 1), 6 * 0.0107, 0.001);
}

} // namespace
} // namespace orvane::session

namespace orvane::session {
namespace {

using namespace ions;

using testing::ShippedSession;

// A peak list of the ion's clusters, written where the test can open it.
std::string clusterPeakList(const IonResult& ion, const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream out(path);
    out.precision(17);
    for (const IonCluster& cluster : ion.clusters) {
        out << cluster.mz << '\t' << cluster.intensity << '\n';
    }
    return path.string();
}

TEST(HighResolutionView, ADoublyChargedSpectrumScoresLowAgainstASinglyChargedIon) {
    ShippedSession insulin("C254H377N65O75S6");
    const std::string path =
        clusterPeakList(insulin.ion("[M+2H]2+"), "orvane_doubly_charged_insulin.txt");
    insulin.session.showMeasuredSpectrum(insulin.session.readMeasuredFile(path), 0);
    const std::optional<MeasuredMatch> right = insulin.match(insulin.ion("[M+2H]2+"));
    ASSERT_TRUE(right);
    EXPECT_GT(right->match.score, 0.999);
    EXPECT_LT(right->match.unexplained, 1e-3);

    // about half the molecule, singly charged: its clusters lie on every other measured peak
    ShippedSession half("C128H191N32O37S3");
    half.session.showMeasuredSpectrum(half.session.readMeasuredFile(path), 0);
    const std::optional<MeasuredMatch> wrong = half.match(half.ion("[M+H]+"));
    ASSERT_TRUE(wrong);
    EXPECT_TRUE(wrong->match.measuredInRange);
    EXPECT_LT(wrong->match.score, 0.9);
    EXPECT_GT(wrong->match.unexplained, 0.3);
    std::filesystem::remove(path);
}

TEST(HighResolutionView, TheToleranceBoxHoldsPpmOrNothing) {
    ShippedSession glucose("C6H12O6");
    const struct {
        const char* text;
        const char* error; // "" when taken
        double tolerance;  // at m/z 1000000: ppm, or 1e6 / 60000
    } cases[] = {
        {"abc", "Tolerance 'abc' is not a number.", 0},
        {"0", "Tolerance '0' must be above 0.", 0},
        {"-3", "Tolerance '-3' must be above 0.", 0},
        {"", "", 1e6 / 60000.0},
        {" ", "", 1e6 / 60000.0},
        {"5", "", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        glucose.session.setToleranceText(c.text);
        try {
            const measured::MatchTolerance tolerance =
                matchToleranceOf(profileBoxesOf(glucose.session.state()), '.');
            EXPECT_STREQ(c.error, "");
            EXPECT_NEAR(measured::toleranceAt(1e6, tolerance), c.tolerance, 1e-9);
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

TEST(HighResolutionView, SaysWhereTheMeasuredSpectrumHasNoPeak) {
    measured::ClusterMatch match;
    match.range = {180.5707, 184.57};
    EXPECT_EQ(noPeakText(match, ','),
              "the measured spectrum has no peak between 180,5707 and 184,5700");
    match.measuredInRange = true;
    EXPECT_EQ(noPeakText(match, '.'), "");
}

TEST(HighResolutionView, TheIonSaysWhatTheReaderShouldKnow) {
    const struct {
        const char* formula;
        const char* ion;
        std::vector<std::string> notices;
    } cases[] = {
        {"C6H12O6", "[M+H]+", {}},
        {"C6H12O6",
         "[M+H]2+",
         {"[M+H]2+: the adducts give the charge 1+, not 2+; computed as written (meant "
          "[M+2H]2+?)"}},
        {"H6C2.5", "[M+H]+", {"accurate masses use whole atoms: C 2.5 taken as 2"}},
        {"C2H6.5", "[M]+", {"accurate masses use whole atoms: H 6.5 taken as 6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.formula) + " " + c.ion);
        ShippedSession shipped(c.formula);
        EXPECT_EQ(shipped.ion(c.ion).notices, c.notices);
    }
    // the lists stop at 1e-6 % of the tallest
    ShippedSession glucose("C6H12O6");
    const IonResult ion = glucose.ion("[M+H]+");
    const std::vector<IonCluster> listed = listedClusters(ion);
    ASSERT_LT(listed.size(), ion.clusters.size());
    EXPECT_GE(listed.back().intensity, listedClusterMinimum);
    EXPECT_LT(ion.clusters[listed.size()].intensity, listedClusterMinimum);
    EXPECT_EQ(listedClusters(ion, true).size(), ion.clusters.size());
}

} // namespace
} // namespace orvane::session
