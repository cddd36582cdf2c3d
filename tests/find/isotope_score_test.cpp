#include "find/isotope_score.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <stdexcept>

#include <gtest/gtest.h>

#include "accurate/accurate_masses.h"
#include "accurate/accurate_test_support.h"
#include "accurate/element_isotopes.h"
#include "accurate/ion_mz.h"
#include "profile/fine_structure.h"

namespace orvane::find {
namespace {

using accurate::support::columnOf;
using accurate::support::shippedTables;

// Three lines one nominal mass apart at m/z 200, tallest first, and their clusters.
struct Theory {
    std::vector<measured::TheoreticalPeak> lines{
        {200.0, 1.0, 0}, {201.0, 0.3, 1}, {202.0, 0.05, 2}};
    std::vector<measured::TheoreticalCluster> clusters{{200.0, 100}, {201.0, 30}, {202.0, 5}};
};

measured::Spectrum spectrumOf(const std::vector<std::pair<double, double>>& peaks) {
    measured::Spectrum spectrum;
    for (const auto& [mz, intensity] : peaks) {
        spectrum.mz.push_back(mz);
        spectrum.intensity.push_back(intensity);
    }
    return spectrum;
}

TEST(IsotopeScore, EachMissingExtraOrShiftedPeakCostsItsGaussianTerm) {
    const IsotopeScoreSettings settings{10'000, 0.999, 0.02, 0.08, std::nullopt};
    const MassTolerance tolerance{5, false}; // sigma 2.5 ppm of 200: 0.0005
    const auto sigma = [&](double intensity) { return 0.02 + 0.08 * intensity; };
    const auto term = [](double error, double s) { return -0.5 * (error / s) * (error / s); };
    const struct {
        const char* name;
        std::vector<std::pair<double, double>> measured;
        double expected;
    } cases[] = {
        {"nothing measured",
         {},
         term(1, sigma(1)) + term(0.3, sigma(0.3)) + term(0.05, sigma(0.05))},
        {"only a peak far outside the range",
         {{150, 1000}},
         term(1, sigma(1)) + term(0.3, sigma(0.3)) + term(0.05, sigma(0.05))},
        {"M+1 missing", {{200, 1000}, {202, 50}}, term(0.3, sigma(0.3))},
        {"an extra peak at M+4",
         {{200, 1000}, {201, 300}, {202, 50}, {204, 100}},
         term(0.1, sigma(0))},
        {"M+1 measured 0.4 instead of 0.3",
         {{200, 1000}, {201, 400}, {202, 50}},
         term(0.1, sigma(0.3))},
        // the isotope peaks' errors count from the tallest line's, the cluster's offset
        {"M off by one sigma, the others in place",
         {{200.0005, 1000}, {201, 300}, {202, 50}},
         -1.0},
        {"M off by ten sigma: the others capped", {{200.005, 1000}, {201, 300}, {202, 50}}, -9.0},
        {"every peak off by ten sigma: one offset",
         {{200.005, 1000}, {201.005, 300}, {202.005, 50}},
         0},
        {"M+1 off by one sigma", {{200, 1000}, {201.0005, 300}, {202, 50}}, -0.5},
        // nothing below the spectrum's smallest peak was recorded: M+2 is not observed
        {"M+2 under the floor of a peak outside the range",
         {{150, 100}, {200, 1000}, {201, 300}},
         0},
        {"M+2 above that floor", {{150, 10}, {200, 1000}, {201, 300}}, term(0.05, sigma(0.05))},
        {"exact, in other units", {{200, 2}, {201, 0.6}, {202, 0.1}}, 0},
    };
    const Theory theory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(isotopeScore(theory.lines, theory.clusters, 1, 200.0, tolerance,
                                 spectrumOf(c.measured), settings),
                    c.expected, 1e-9);
    }
}

TEST(IsotopeScore, CaffeineRanksFirstForItsOwnClusterAmongItsIsobars) {
    const data::DataTables& tables = shippedTables();
    // caffeine's [M+H]+ clusters as a centroided spectrum at R 10000, intensities off by a
    // few percent and m/z by a ppm, as an instrument would give them
    const std::vector<accurate::AtomCount> ion{
        {columnOf("C"), 8}, {columnOf("H"), 11}, {columnOf("N"), 4}, {columnOf("O"), 2}};
    const accurate::AccurateMasses masses = accurate::computeAccurateMasses(ion, tables, '.');
    measured::Spectrum spectrum;
    const double noise[] = {0.97, 1.04, 0.95, 1.06, 1.0};
    for (std::size_t c = 0; c < masses.clusters.size() && c < 5; ++c) {
        const double mz = accurate::mzOf(masses.clusters[c].mass, 1);
        spectrum.mz.push_back(mz * (1 + (c % 2 == 0 ? 1e-6 : -1e-6)));
        spectrum.intensity.push_back(masses.clusters[c].intensity * 1000 * noise[c]);
    }
    // a target nearer an isobar with two S than caffeine, so that the mass alone misleads
    const double mainH =
        accurate::readElementIsotopes(tables, columnOf("H"), '.').mostAbundant().mass;
    const double isobar =
        8 * 12.0 + 19 * mainH +
        accurate::readElementIsotopes(tables, columnOf("O"), '.').mostAbundant().mass +
        2 * accurate::readElementIsotopes(tables, columnOf("S"), '.').mostAbundant().mass;
    FindQuery query;
    query.mz = accurate::mzOf(isobar, 1);
    query.tolerance = {10, false};
    query.rules.compositionPrior = false; // the mass and the pattern alone
    FindResult result = findFormulas(query, tables, '.');
    ASSERT_GE(result.candidates.size(), 2u);
    EXPECT_EQ(result.candidates.front().formula, "C8H18OS2");
    EXPECT_NE(result.candidates.front().formula, "C8H10N4O2");
    const IsotopeScoreSettings settings{10'000, 0.999, 0.02, 0.08, std::nullopt};
    scoreCandidates(result, query, spectrum, settings, tables, '.');
    EXPECT_EQ(result.candidates.front().formula, "C8H10N4O2");
    for (std::size_t i = 0; i < result.candidates.size(); ++i) {
        ASSERT_TRUE(result.candidates[i].isotopeScore.has_value());
        if (i > 0) {
            EXPECT_GE(result.candidates[i - 1].score, result.candidates[i].score);
        }
    }

    // found without their ion atoms (a report that scores nothing), they cannot be scored
    query.withIonAtoms = false;
    FindResult bare = findFormulas(query, tables, '.');
    ASSERT_FALSE(bare.candidates.empty());
    EXPECT_TRUE(bare.candidates.front().ionAtoms.empty());
    EXPECT_THROW(scoreCandidates(bare, query, spectrum, settings, tables, '.'),
                 std::invalid_argument);
}

TEST(IsotopeScore, LinesAreMergedAtTheResolvingPowerAndScaledToTheTallest) {
    Candidate dichloro; // C10H8Cl2 + H: the clusters of Cl2, fine peaks of 13C beside them
    dichloro.charge = 1;
    dichloro.ionAtoms = {{columnOf("H"), 9}, {columnOf("C"), 10}, {columnOf("Cl"), 2}};
    std::vector<measured::TheoreticalCluster> clusters;
    for (const double resolvingPower : {1'000.0, 1'000'000.0}) {
        SCOPED_TRACE(resolvingPower);
        const IsotopeScoreSettings settings{resolvingPower, 0.999, 0.02, 0.08, std::nullopt};
        const std::vector<measured::TheoreticalPeak> lines =
            candidateLines(dichloro, shippedTables(), settings, clusters, '.');
        ASSERT_FALSE(lines.empty());
        double tallest = 0;
        for (const measured::TheoreticalPeak& line : lines) {
            tallest = std::max(tallest, line.intensity);
        }
        EXPECT_EQ(tallest, 1.0);
        // M+2 holds 37Cl and 13C2 apart by 0.01: one line at R 1000, two at R 10^6
        std::size_t nearM2 = 0;
        for (const measured::TheoreticalPeak& line : lines) {
            nearM2 += std::abs(line.mz - (lines.front().mz + 2)) < 0.1 ? 1 : 0;
        }
        EXPECT_EQ(nearM2 > 1, resolvingPower > 100'000);
    }
    EXPECT_EQ(clusters.front().intensity, 100);
}

} // namespace
} // namespace orvane::find

namespace orvane::find {
namespace {

TEST(IsotopeScore, TheSettingsMassSigmaReplacesHalfTheTolerance) {
    IsotopeScoreSettings settings{10'000, 0.999, 0.02, 0.08, std::nullopt};
    const Theory theory;
    const measured::Spectrum spectrum = spectrumOf({{200, 1000}, {201.0002, 300}, {202, 50}});
    // half of 5 ppm of 200 is 0.0005; 1 ppm is 0.0002, one sigma
    const MassTolerance tolerance{5, false};
    EXPECT_NEAR(
        isotopeScore(theory.lines, theory.clusters, 1, 200.0, tolerance, spectrum, settings),
        -0.5 * 0.4 * 0.4, 1e-9);
    settings.massSigmaPpm = 1;
    EXPECT_NEAR(
        isotopeScore(theory.lines, theory.clusters, 1, 200.0, tolerance, spectrum, settings), -0.5,
        1e-9);
}

} // namespace
} // namespace orvane::find

namespace orvane::find {
namespace {

TEST(IsotopeScore, OneFormulaHasOneScoreInTheSearchAndAlone) {
    const data::DataTables& tables = shippedTables();
    const std::vector<accurate::AtomCount> ion{
        {columnOf("C"), 8}, {columnOf("H"), 11}, {columnOf("N"), 4}, {columnOf("O"), 2}};
    const accurate::AccurateMasses masses = accurate::computeAccurateMasses(ion, tables, '.');
    measured::Spectrum spectrum;
    for (std::size_t c = 0; c < masses.clusters.size() && c < 4; ++c) {
        spectrum.mz.push_back(accurate::mzOf(masses.clusters[c].mass, 1) * (1 + 2e-6));
        spectrum.intensity.push_back(masses.clusters[c].intensity * (c == 1 ? 1.05 : 1.0));
    }
    const IsotopeScoreSettings settings{20'000, 0.999, 0.02, 0.08, 2.0};
    const double target =
        measuredTarget(spectrum, accurate::mzOf(masses.clusters[0].mass, 1), 20'000);
    EXPECT_EQ(target, spectrum.mz[0]);
    FindQuery query;
    query.mz = target;
    FindResult result = findFormulas(query, tables, '.');
    scoreCandidates(result, query, spectrum, settings, tables, '.');
    const auto caffeine =
        std::find_if(result.candidates.begin(), result.candidates.end(),
                     [](const Candidate& candidate) { return candidate.formula == "C8H10N4O2"; });
    ASSERT_NE(caffeine, result.candidates.end());
    const PatternScore alone =
        scorePattern(ion, 1, target, query.tolerance, spectrum, settings, tables, '.');
    EXPECT_EQ(caffeine->isotopeScore, alone.isotopeScore);
    EXPECT_EQ(caffeine->cosine, alone.cosine);
    EXPECT_GT(alone.cosine, 0.999);
    EXPECT_LT(alone.cosine, 1);
    EXPECT_LT(alone.isotopeScore, 0); // the M+1 5 % high
    ASSERT_TRUE(alone.offsetPpm);
    EXPECT_NEAR(*alone.offsetPpm, 2, 1e-3);
    // without a peak near the ion the target is its own monoisotopic m/z
    EXPECT_EQ(measuredTarget(measured::Spectrum{}, 195.0877, 20'000), 195.0877);
}

} // namespace
} // namespace orvane::find

namespace orvane::find {
namespace {

// The centre of a profile peak as a centroiding instrument reads it: the intensity-weighted
// m/z of the profile's points above half the peak's height, around its apex near `near`.
double profileCentroid(const std::vector<measured::TheoreticalPeak>& fine, double resolvingPower,
                       double near) {
    const double sigma = near / resolvingPower / 2.3548200450309493;
    const auto at = [&](double x) {
        double y = 0;
        for (const measured::TheoreticalPeak& peak : fine) {
            const double z = (x - peak.mz) / sigma;
            y += peak.intensity * std::exp(-0.5 * z * z);
        }
        return y;
    };
    double apex = near;
    for (double x = near - 3 * sigma; x <= near + 3 * sigma; x += sigma / 200) {
        apex = at(x) > at(apex) ? x : apex;
    }
    const double half = at(apex) / 2;
    double sum = 0;
    double moment = 0;
    for (double x = apex - 4 * sigma; x <= apex + 4 * sigma; x += sigma / 200) {
        const double y = at(x);
        if (y >= half) {
            sum += y;
            moment += y * x;
        }
    }
    return moment / sum;
}

TEST(IsotopeScore, SulfursM4LineIsWhereTheProfilesPeakIs) {
    // glutathione's [M+H]+: 34S with 13C2 and with 18O, 18O2 and 13C4 stand within a FWHM
    // or two of each other at M+4
    Candidate glutathione;
    glutathione.ionAtoms = {{columnOf("H"), 18},
                            {columnOf("C"), 10},
                            {columnOf("N"), 3},
                            {columnOf("O"), 6},
                            {columnOf("S"), 1}};
    for (const double resolvingPower : {7'500.0, 30'000.0}) {
        SCOPED_TRACE(resolvingPower);
        IsotopeScoreSettings settings;
        settings.resolvingPower = resolvingPower;
        std::vector<measured::TheoreticalCluster> clusters;
        const std::vector<measured::TheoreticalPeak> lines =
            candidateLines(glutathione, shippedTables(), settings, clusters, '.');
        // the fine structure nearly whole, as the instrument sees it
        std::vector<profile::ElementAtoms> elements;
        for (const accurate::AtomCount& count : glutathione.ionAtoms) {
            const accurate::ElementIsotopes element =
                accurate::readElementIsotopes(shippedTables(), count.column, '.');
            profile::ElementAtoms atoms{element.symbol, static_cast<int>(count.atoms), {}};
            for (const accurate::Isotope& isotope : element.isotopes) {
                atoms.isotopes.push_back(isotope);
            }
            elements.push_back(std::move(atoms));
        }
        std::vector<measured::TheoreticalPeak> fine;
        for (const profile::FinePeak& peak :
             profile::computeFineStructure(elements, 1, 0.9999999, 100'000).peaks) {
            fine.push_back({peak.mz, peak.probability, 0});
        }
        const double m4 = lines.front().mz + 4 * 1.0;
        const auto line =
            std::min_element(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
                return std::abs(a.mz - m4) < std::abs(b.mz - m4);
            });
        ASSERT_LT(std::abs(line->mz - m4), 0.05);
        EXPECT_NEAR(line->mz, profileCentroid(fine, resolvingPower, line->mz), line->mz * 1e-6);
    }
}

TEST(IsotopeScore, AProfileSeparatesWhatItsDipsSeparate) {
    using measured::TheoreticalPeak;
    const double fwhm = 300.0 / 30'000; // 0.01
    const struct {
        const char* name;
        std::vector<TheoreticalPeak> lines;
        std::vector<double> merged; // the m/z of the lines left
    } cases[] = {
        {"two equal lines 1.5 FWHM apart",
         {{300, 1, 0}, {300 + 1.5 * fwhm, 1, 0}},
         {300, 300 + 1.5 * fwhm}},
        {"two equal lines 0.8 FWHM apart: one at their middle",
         {{300, 1, 0}, {300 + 0.8 * fwhm, 1, 0}},
         {300 + 0.4 * fwhm}},
        // one peak, read at its apex: the shoulder adds its intensity, hardly its m/z
        {"a small line on a tall one's flank 1.2 FWHM away",
         {{300, 1, 0}, {300 + 1.2 * fwhm, 0.05, 1}},
         {300}},
        {"a chain of lines 0.7 FWHM apart",
         {{300, 1, 0}, {300 + 0.7 * fwhm, 1, 0}, {300 + 1.4 * fwhm, 1, 0}},
         {300 + 0.7 * fwhm}},
        {"lines far apart", {{300, 1, 0}, {301, 0.2, 1}}, {300, 301}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TheoreticalPeak> merged = measured::mergeAsProfile(c.lines, 30'000);
        ASSERT_EQ(merged.size(), c.merged.size());
        double total = 0;
        for (std::size_t i = 0; i < merged.size(); ++i) {
            EXPECT_NEAR(merged[i].mz, c.merged[i], 0.01 * fwhm); // the profile sampled at sigma / 8
            total += merged[i].intensity;
        }
        double given = 0;
        for (const TheoreticalPeak& line : c.lines) {
            given += line.intensity;
        }
        EXPECT_DOUBLE_EQ(total, given);
    }
}

} // namespace
} // namespace orvane::find
