#pragma once

#include <optional>
#include <string>

#include "measured/cluster_match.h"
#include "plot/profile_plot.h"
#include "profile/profile.h"
#include "ion/ion_result.h"
#include "data/data_tables.h"
#include "ion/measured_view.h"
#include "ion/profile_boxes.h"

namespace orvane::ions {

/// The profile settings the high-resolution window's boxes hold: the resolving power (above
/// 0) and the coverage of the fine structure (above 0, at most 1). Raises text::Error naming
/// the box and its text when one is not such a number.
profile::ProfileSettings profileSettingsOf(const ProfileBoxes& boxes, char separator);

/// The tolerance of the match: the tolerance box in ppm (a number above 0), or one FWHM at
/// the resolving power when the box is empty. Raises text::Error naming the box and its
/// text when it is neither.
measured::MatchTolerance matchToleranceOf(const ProfileBoxes& boxes, char separator);

// The measured spectrum set against the ion's clusters.
struct MeasuredMatch {
    measured::ClusterMatch match;
    std::optional<measured::DisplayScale> scale;    // the tallest point inside the ion's range
    std::optional<measured::DisplayScale> basePeak; // the tallest point of the whole spectrum
    // "" or, where the measured isotope spacing shows another charge than the ion's, the
    // notice that says so (measured::chargeSpacingNotice)
    std::string chargeNotice;
};

/// The comparison of the measured spectrum with the ion: its peaks against the ion's fine
/// peaks merged where the resolving power does not separate them (the clusters when the fine
/// structure is too large); nothing without a measured spectrum (nullptr). Raises
/// text::Error for the boxes it reads (profileSettingsOf, matchToleranceOf).
std::optional<MeasuredMatch> matchMeasured(const data::DataTables& tables,
                                           const ProfileBoxes& boxes, const MeasuredView* measured,
                                           const IonResult& ion, char separator = '.');

/// "the measured spectrum has no peak between <low> and <high>" for a match without a
/// measured peak in the ion's range; "" otherwise.
std::string noPeakText(const measured::ClusterMatch& match, char separator);

/// What the high-resolution plot draws: the profile (when it has been computed; else the
/// clusters alone), the peaks above `labelThreshold` (% of the tallest) with their m/z, and
/// the measured spectrum (nullptr: none) scaled by the match.
plot::HighResolutionContent
highResolutionContent(double labelThreshold, const MeasuredView* measured, const IonResult& ion,
                      const profile::Profile* profile, const std::optional<MeasuredMatch>& match,
                      char separator);

/// The plot of a measured spectrum alone, before there is an ion to set beside it: its
/// tallest point at 100, drawn as sticks unless it is a profile.
plot::HighResolutionContent measuredAloneContent(const MeasuredView& measured, char separator);

} // namespace orvane::ions
