#include "profile/fine_peak_estimate.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <numbers>

namespace orvane::profile {

namespace {

// z with P(Z > z) = tail for a standard normal Z, by bisection on erfc: a few dozen
// evaluations, run once per profile.
double upperNormalQuantile(double tail) {
    double low = -40;
    double high = 40;
    for (int i = 0; i < 200 && high - low > 1e-12; ++i) {
        const double middle = 0.5 * (low + high);
        if (0.5 * std::erfc(middle / std::numbers::sqrt2) > tail) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return 0.5 * (low + high);
}

// The chi-square quantile by the Wilson-Hilferty cube: a few per cent off for small
// dimensions, which an estimate of a count can afford.
double chiSquareQuantile(double probability, int dimensions) {
    const double z = upperNormalQuantile(1 - probability);
    const double a = 2.0 / (9.0 * dimensions);
    const double base = std::max(0.0, 1 - a + z * std::sqrt(a));
    return dimensions * base * base * base;
}

// The isotopologues of some elements inside an ellipsoid of the normal approximation in
// isotope-count space, counted by its volume.
struct EllipsoidCount {
    int dimensions = 0;
    double logDeterminant = 0; // of the count covariance: per element n^(k-1) * prod(p)
    double logAll = 0;         // multisets of n atoms over k isotopes: C(n + k - 1, k - 1)

    void add(const ElementAtoms& element) {
        const int k = static_cast<int>(element.isotopes.size());
        const double n = element.atomCount;
        if (k < 2 || n == 0) {
            return;
        }
        dimensions += k - 1;
        logDeterminant += (k - 1) * std::log(n);
        for (const Isotope& isotope : element.isotopes) {
            logDeterminant += std::log(isotope.probability);
        }
        logAll += std::lgamma(n + k) - std::lgamma(n + 1) - std::lgamma(k);
    }

    /// The log of the count inside squared radius `radiusSquared`, never more than all.
    double logCount(double radiusSquared) const {
        const double d = dimensions;
        const double logVolume = 0.5 * d * std::log(std::numbers::pi) - std::lgamma(0.5 * d + 1) +
                                 0.5 * d * std::log(radiusSquared) + 0.5 * logDeterminant;
        return std::min(logAll, logVolume);
    }
};

} // namespace

double estimateFinePeakCount(const std::vector<ElementAtoms>& elements, double coverage) {
    assert(coverage > 0 && coverage <= 1);
    EllipsoidCount all;
    for (const ElementAtoms& element : elements) {
        all.add(element);
    }
    if (all.dimensions == 0) {
        return 1;
    }
    double logCount = all.logAll;
    if (coverage < 1) {
        const double radiusSquared = chiSquareQuantile(coverage, all.dimensions);
        if (radiusSquared <= 0) {
            return 1;
        }
        logCount = all.logCount(radiusSquared);
    }
    return std::max(1.0, std::exp(logCount));
}

double estimateEnumerationBytes(const std::vector<ElementAtoms>& elements, double coverage,
                                double layerStep) {
    assert(coverage > 0 && coverage <= 1 && layerStep > 0);
    EllipsoidCount all;
    for (const ElementAtoms& element : elements) {
        all.add(element);
    }
    if (all.dimensions == 0) {
        return 0;
    }
    // a log probability `step` below the most probable lies at squared radius 2 step
    const double layerRadiusSquared = 2 * layerStep;
    double radiusSquared = std::numeric_limits<double>::infinity();
    if (coverage < 1) {
        const double needed = chiSquareQuantile(coverage, all.dimensions);
        radiusSquared = layerRadiusSquared * std::max(1.0, std::ceil(needed / layerRadiusSquared));
    }
    double bytes = 0;
    for (const ElementAtoms& element : elements) {
        EllipsoidCount marginal;
        marginal.add(element);
        if (marginal.dimensions > 0) {
            // a combination, its neighbours below the threshold and their hash entries:
            // measured 54 bytes for zinc's 5 isotopes and 167 for tin's 10
            const double perCombination = 24 + 16 * double(element.isotopes.size());
            bytes += perCombination * std::exp(marginal.logCount(radiusSquared));
        }
    }
    return bytes;
}

} // namespace orvane::profile
