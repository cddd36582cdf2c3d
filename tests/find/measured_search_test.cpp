#include "find/measured_search.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "accurate/accurate_masses.h"
#include "accurate/accurate_test_support.h"
#include "accurate/ion_mz.h"

namespace orvane::find {
namespace {

using accurate::support::columnOf;
using accurate::support::shippedTables;

// Caffeine's [M+H]+ clusters as a centroided spectrum, shifted by `ppm`.
measured::Spectrum caffeineSpectrum(double ppm) {
    const std::vector<accurate::AtomCount> ion{
        {columnOf("C"), 8}, {columnOf("H"), 11}, {columnOf("N"), 4}, {columnOf("O"), 2}};
    const accurate::AccurateMasses masses =
        accurate::computeAccurateMasses(ion, shippedTables(), '.');
    measured::Spectrum spectrum;
    for (std::size_t c = 0; c < masses.clusters.size() && c < 4; ++c) {
        spectrum.mz.push_back(accurate::mzOf(masses.clusters[c].mass, 1) * (1 + ppm * 1e-6));
        spectrum.intensity.push_back(masses.clusters[c].intensity * 1000);
    }
    return spectrum;
}

// A spectrum scores the candidates only where it has a peak at the target: one with none
// there (a scan of another range, a target typed wrong) says nothing of them, and the
// candidates keep their rank by mass with a notice.
TEST(MeasuredSearch, AScoreOnlyWhereTheSpectrumHasAPeakAtTheTarget) {
    const double caffeine = caffeineSpectrum(0).mz.front();
    const struct {
        const char* name;
        std::optional<measured::Spectrum> peaks;
        MassTolerance tolerance;
        bool scored;
        const char* notice; // "" for none
    } cases[] = {
        {"no spectrum", std::nullopt, {5, false}, false, ""},
        {"the cluster at the target", caffeineSpectrum(1), {5, false}, true, ""},
        {"the cluster 8 ppm away",
         caffeineSpectrum(8),
         {5, false},
         false,
         "the measured spectrum has no peak within 5 ppm of m/z 195.0877; ranked by mass alone"},
        {"8 ppm inside 2 mDa", caffeineSpectrum(8), {2, true}, true, ""},
        {"peaks elsewhere only",
         measured::Spectrum{{500, 501}, {100, 30}},
         {2, true},
         false,
         "the measured spectrum has no peak within 2 mDa of m/z 195.0877; ranked by mass alone"},
        {"an empty spectrum",
         measured::Spectrum{},
         {5, false},
         false,
         "the measured spectrum has no peak within 5 ppm of m/z 195.0877; ranked by mass alone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FindQuery query;
        query.mz = caffeine;
        query.tolerance = c.tolerance;
        const IsotopeScoreSettings settings{30'000, 0.999, 0.02, 0.08, std::nullopt};
        const MeasuredSearch search =
            searchMeasured(query, shippedTables(), '.', c.peaks ? &*c.peaks : nullptr, settings);
        const FindResult alone = findFormulas(query, shippedTables(), '.');
        EXPECT_EQ(search.scored, c.scored);
        EXPECT_EQ(search.evidence.has_value(), c.scored);
        ASSERT_FALSE(search.result.candidates.empty());
        ASSERT_EQ(search.result.candidates.size(), alone.candidates.size());
        for (std::size_t i = 0; i < alone.candidates.size(); ++i) {
            const Candidate& candidate = search.result.candidates[i];
            EXPECT_EQ(candidate.isotopeScore.has_value(), c.scored);
            if (!c.scored) { // unscored, in the order of the search alone
                EXPECT_EQ(candidate.formula, alone.candidates[i].formula);
                EXPECT_EQ(candidate.score, alone.candidates[i].score);
            }
        }
        EXPECT_EQ(search.notices,
                  *c.notice ? std::vector<std::string>{c.notice} : std::vector<std::string>{});
    }
}

} // namespace
} // namespace orvane::find
