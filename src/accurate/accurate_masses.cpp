#include "accurate/accurate_masses.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "accurate/element_isotopes.h"
#include "accurate/moment_distribution.h"
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

struct Part {
    ElementIsotopes element;
    long long atoms = 0;
    bool label = false; // the monoisotopic mass takes the label's isotope

    const Isotope& monoisotopic() const {
        return label ? element.isotopes.front() : element.mostAbundant();
    }
};

// Refuses formulas whose clusters would be too wide to convolve, or whose nominal
// masses would not be held exactly, before any work is done.
void requireComputable(const std::vector<Part>& parts) {
    long double variance = 0;
    long double heaviest = 0;
    for (const Part& part : parts) {
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

std::vector<Cluster> clustersOf(const MomentDistribution& total, long double shift,
                                std::size_t& mostAbundant) {
    double tallest = 0;
    long double sum = 0;
    for (std::size_t i = 0; i < total.size(); ++i) {
        tallest = std::max(tallest, total.probability(i));
        sum += total.probability(i);
    }
    std::vector<Cluster> clusters;
    mostAbundant = 0;
    for (std::size_t i = 0; i < total.size(); ++i) {
        const double p = total.probability(i);
        if (p == 0 || p < tallest * reportedClusterCut) {
            continue;
        }
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
        if (clusters.empty() || p > clusters[mostAbundant].probability) {
            mostAbundant = clusters.size(); // of equally tall ones the lightest stays
        }
        clusters.push_back(cluster);
    }
    return clusters;
}

// The isotopes of a column: read from the tables, or taken from those read once.
using IsotopeReader = std::function<ElementIsotopes(int column)>;

std::vector<Part> partsOf(const std::vector<AtomCount>& atoms, const data::DataTables& tables,
                          const IsotopeReader& read, const std::vector<LabelAtoms>& labels) {
    std::vector<Part> parts;
    for (const AtomCount& count : atoms) {
        if (count.atoms < 0) {
            throw text::Error("The formula has " + std::to_string(count.atoms) + " atoms of " +
                              tables.elements.cell(count.column, data::SymbolRow) +
                              "; accurate masses need counts of 0 or more.");
        }
        if (count.atoms > 0) {
            parts.push_back({read(count.column), count.atoms});
        }
    }
    for (const LabelAtoms& label : labels) {
        if (label.atoms < 0) {
            throw text::Error("The formula has " + std::to_string(label.atoms) + " atoms of " +
                              label.isotopes.symbol +
                              "; accurate masses need counts of 0 or more.");
        }
        if (label.atoms > 0) {
            parts.push_back({label.isotopes, label.atoms, true});
        }
    }
    return parts;
}

IsotopeReader fromTables(const data::DataTables& tables, char separator) {
    return [&tables, separator](int column) {
        return readElementIsotopes(tables, column, separator);
    };
}

IsotopeReader fromParsed(const ParsedIsotopes& parsed) {
    return [&parsed](int column) { return parsed.of(column); };
}

MoleculeMasses moleculeMasses(std::vector<Part> parts) {
    long double monoisotopic = 0;
    long double average = 0;
    for (const Part& part : parts) {
        const auto n = static_cast<long double>(part.atoms);
        monoisotopic += n * part.monoisotopic().mass;
        average += n * part.element.averageMass();
    }
    return {static_cast<double>(monoisotopic), static_cast<double>(average)};
}

AccurateMasses accurateMasses(const std::vector<Part>& parts) {
    requireComputable(parts);

    AccurateMasses result;
    long double monoisotopic = 0;
    long double average = 0;
    // Each atom's defect is carried less its element's mean defect; the molecule's defects
    // are then all this far from the carried ones.
    long double shift = 0;
    std::vector<MomentDistribution> powers;
    for (const Part& part : parts) {
        const auto n = static_cast<long double>(part.atoms);
        const long double reference = part.element.averageDefect();
        monoisotopic += n * part.monoisotopic().mass;
        average += n * part.element.averageMass();
        shift += n * reference;
        powers.push_back(MomentDistribution::ofAtom(part.element, reference).power(part.atoms));
    }
    // narrow ones first: each convolution costs the product of the two widths
    std::sort(powers.begin(), powers.end(),
              [](const MomentDistribution& a, const MomentDistribution& b) {
                  return a.size() < b.size();
              });
    MomentDistribution total;
    for (const MomentDistribution& power : powers) {
        total = MomentDistribution::convolve(total, power);
    }

    result.monoisotopicMass = static_cast<double>(monoisotopic);
    result.averageMass = static_cast<double>(average);
    result.clusters = clustersOf(total, shift, result.mostAbundant);
    return result;
}

} // namespace

MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels) {
    return moleculeMasses(partsOf(atoms, tables, fromTables(tables, separator), labels));
}

AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels) {
    return accurateMasses(partsOf(atoms, tables, fromTables(tables, separator), labels));
}

MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, const ParsedIsotopes& parsed,
                                     const std::vector<LabelAtoms>& labels) {
    return moleculeMasses(partsOf(atoms, tables, fromParsed(parsed), labels));
}

AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, const ParsedIsotopes& parsed,
                                     const std::vector<LabelAtoms>& labels) {
    return accurateMasses(partsOf(atoms, tables, fromParsed(parsed), labels));
}

} // namespace orvane::accurate
