#include "session/high_resolution_view.h"

#include <string>

#include <gtest/gtest.h>

#include "session/ion_profile.h"
#include "session/session_test_support.h"
#include "text/error.h"

namespace orvane::session {
namespace {

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
                profileSettingsOf(glucose.session.state(), '.');
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
    const profile::ProfileInput input = profileInputFor(glucose.session.state(), ion, '.');
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
    const plot::HighResolutionContent content =
        highResolutionContent(glucose.session.state(), ion, &shape, std::nullopt, '.');
    ASSERT_EQ(content.labelled.size(), 1u);
    EXPECT_EQ(content.labelled[0].intensity, 100.0);
    EXPECT_EQ(content.sticks.size(), shape.sticks.size());
    EXPECT_TRUE(content.measured.empty());
    EXPECT_EQ(content.title, "[M+H]+  H13C6O6");
}

} // namespace
} // namespace orvane::session
