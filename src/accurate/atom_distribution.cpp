#include "accurate/atom_distribution.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "accurate/atom_parts.h"
#include "accurate/last_convolution.h"
#include "text/error.h"

namespace orvane::accurate {

namespace {

// Beyond this many nominal masses the convolutions take more than a few seconds: about 35
// times the width of titin's clusters.
constexpr long double maxClusterWidth = 50000;
// Nominal masses are whole numbers held exactly in a double up to 2^53.
constexpr long double maxNominalMass = 9007199254740992.0L;
// The tails are dropped where the probability falls to tailCut of the largest, about
// this many standard deviations out for the near-Gaussian clusters of large formulas.
constexpr long double tailDeviations = 17;

// Adds the parts' variance of the nominal mass and their largest nominal mass to the sums,
// then refuses atoms whose clusters would be too wide to convolve, or whose nominal masses
// would not be held exactly, before any work is done.
void requireComputable(const std::vector<AtomPart>& parts, long double& variance,
                       long double& heaviest) {
    for (const AtomPart& part : parts) {
        long double mean = 0;
        long double square = 0;
        long double largest = 0;
        for (const Isotope& isotope : part.element.isotopes) {
            const auto a = static_cast<long double>(isotope.massNumber);
            mean += isotope.probability * a;
            square += isotope.probability * a * a;
            largest = std::max(largest, std::fabs(a));
        }
        const auto n = static_cast<long double>(part.atoms);
        variance += n * std::max(square - mean * mean, 0.0L);
        heaviest += n * largest;
    }
    const long double width = 2 * tailDeviations * std::sqrt(variance);
    if (width > maxClusterWidth || heaviest > maxNominalMass) {
        throw text::Error("The formula is too large for accurate clusters (about " +
                          std::to_string(static_cast<long long>(std::min(width, 1e18L))) +
                          " nominal masses wide).");
    }
}

// The clusters above the reported cut; with `every` false only the lightest and the most
// abundant are made, with the same values. `Moments` is a MomentDistribution or the
// LastConvolution that sums the defects only of the clusters made.
template <typename Moments>
std::vector<Cluster> clustersOf(const Moments& total, long double shift, std::size_t& mostAbundant,
                                bool every) {
    double tallest = 0;
    long double sum = 0;
    for (std::size_t i = 0; i < total.size(); ++i) {
        tallest = std::max(tallest, total.probability(i));
        sum += total.probability(i);
    }
    const auto clusterAt = [&](std::size_t i) {
        const double p = total.probability(i);
        const long double meanDefect = static_cast<long double>(total.defectSum(i)) / p;
        const long double meanSquare = static_cast<long double>(total.defectSquareSum(i)) / p;
        Cluster cluster;
        cluster.nominalMass = total.firstNominal() + static_cast<long long>(i);
        cluster.mass =
            static_cast<double>(static_cast<long double>(cluster.nominalMass) + shift + meanDefect);
        // Each atom's probabilities add to 1 only to the last bit, and a million atoms compound
        // that to 1e-11; the shape is unharmed, so the whole is scaled back to 1.
        cluster.probability = static_cast<double>(p / sum);
        // p * 100 is exact in extended precision, so the tallest gives exactly 100
        cluster.intensity = static_cast<double>(static_cast<long double>(p) * 100 / tallest);
        cluster.variance = static_cast<double>(std::max(meanSquare - meanDefect * meanDefect,
                                                        0.0L)); // rounding may go below 0
        return cluster;
    };
    std::vector<Cluster> clusters;
    mostAbundant = 0;
    std::optional<std::size_t> lightest;
    std::size_t best = 0;
    double bestProbability = 0;
    for (std::size_t i = 0; i < total.size(); ++i) {
        const double p = total.probability(i);
        if (p == 0 || p < tallest * reportedClusterCut) {
            continue;
        }
        // of equally tall ones the lightest stays (as listed: the scaled probability)
        const bool taller = !lightest || p > bestProbability;
        if (!lightest) {
            lightest = i;
        }
        if (taller) {
            best = i;
            bestProbability = static_cast<double>(p / sum);
        }
        if (every) {
            if (taller) {
                mostAbundant = clusters.size();
            }
            clusters.push_back(clusterAt(i));
        }
    }
    if (!every && lightest) {
        clusters.push_back(clusterAt(*lightest));
        if (best != *lightest) {
            clusters.push_back(clusterAt(best));
            mostAbundant = 1;
        }
    }
    return clusters;
}

} // namespace

AtomDistribution AtomDistribution::of(const std::vector<AtomCount>& atoms,
                                      const data::DataTables& tables, char separator,
                                      const std::vector<LabelAtoms>& labels) {
    return AtomDistribution().plus(atoms, tables, separator, labels);
}

AtomDistribution AtomDistribution::plus(const std::vector<AtomCount>& atoms,
                                        const data::DataTables& tables, char separator,
                                        const std::vector<LabelAtoms>& labels) const {
    return plus(atomPartsOf(atoms, tables, separator, labels));
}

AtomDistribution AtomDistribution::of(const std::vector<AtomPart>& parts, PowerCache* cache) {
    return AtomDistribution().plus(parts, cache);
}

std::vector<std::shared_ptr<const MomentDistribution>>
AtomDistribution::addPowers(const std::vector<AtomPart>& parts, PowerCache* cache) {
    requireComputable(parts, m_variance, m_heaviest);
    // Each atom's defect is carried less its element's mean defect; the molecule's defects
    // are then all m_shift from the carried ones.
    std::vector<std::shared_ptr<const MomentDistribution>> powers;
    powers.reserve(parts.size());
    for (const AtomPart& part : parts) {
        const auto n = static_cast<long double>(part.atoms);
        const long double reference = part.element.averageDefect();
        m_monoisotopic += n * part.monoisotopic().mass;
        m_average += n * part.element.averageMass();
        m_shift += n * reference;
        powers.push_back(
            cache != nullptr
                ? cache->power(part.element, reference, part.atoms)
                : std::make_shared<const MomentDistribution>(
                      MomentDistribution::ofAtom(part.element, reference).power(part.atoms)));
    }
    // narrow ones first: each convolution costs the product of the two widths
    std::sort(powers.begin(), powers.end(),
              [](const auto& a, const auto& b) { return a->size() < b->size(); });
    return powers;
}

AtomDistribution AtomDistribution::plus(const std::vector<AtomPart>& parts,
                                        PowerCache* cache) const {
    AtomDistribution result = *this;
    for (const auto& power : result.addPowers(parts, cache)) {
        result.m_total = MomentDistribution::convolve(result.m_total, *power);
    }
    return result;
}

AccurateMasses AtomDistribution::lightestAndTallest(const std::vector<AtomPart>& parts,
                                                    PowerCache* cache) {
    AtomDistribution whole;
    const auto powers = whole.addPowers(parts, cache);
    if (powers.empty()) {
        return whole.masses(false);
    }
    for (std::size_t k = 0; k + 1 < powers.size(); ++k) {
        whole.m_total = MomentDistribution::convolve(whole.m_total, *powers[k]);
    }
    AccurateMasses result;
    result.monoisotopicMass = static_cast<double>(whole.m_monoisotopic);
    result.averageMass = static_cast<double>(whole.m_average);
    result.clusters = clustersOf(LastConvolution(whole.m_total, *powers.back()), whole.m_shift,
                                 result.mostAbundant, false);
    return result;
}

AccurateMasses AtomDistribution::masses(bool everyCluster) const {
    AccurateMasses result;
    result.monoisotopicMass = static_cast<double>(m_monoisotopic);
    result.averageMass = static_cast<double>(m_average);
    result.clusters = clustersOf(m_total, m_shift, result.mostAbundant, everyCluster);
    return result;
}

} // namespace orvane::accurate
