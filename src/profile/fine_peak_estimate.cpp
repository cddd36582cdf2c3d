#include "profile/fine_peak_estimate.h"

#include <algorithm>
#include <cassert>
#include <cmath>
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

} // namespace

double estimateFinePeakCount(const std::vector<ElementAtoms>& elements, double coverage) {
    assert(coverage > 0 && coverage <= 1);
    int dimensions = 0;
    double logDeterminant = 0; // of the count covariance: per element n^(k-1) * prod(p)
    double logAll = 0;         // multisets of n atoms over k isotopes: C(n + k - 1, k - 1)
    for (const ElementAtoms& element : elements) {
        const int k = static_cast<int>(element.isotopes.size());
        const double n = element.atomCount;
        if (k < 2 || n == 0) {
            continue;
        }
        dimensions += k - 1;
        logDeterminant += (k - 1) * std::log(n);
        for (const Isotope& isotope : element.isotopes) {
            logDeterminant += std::log(isotope.probability);
        }
        logAll += std::lgamma(n + k) - std::lgamma(n + 1) - std::lgamma(k);
    }
    if (dimensions == 0) {
        return 1;
    }
    double logCount = logAll;
    if (coverage < 1) {
        const double d = dimensions;
        const double radiusSquared = chiSquareQuantile(coverage, dimensions);
        if (radiusSquared <= 0) {
            return 1;
        }
        const double logVolume = 0.5 * d * std::log(std::numbers::pi) - std::lgamma(0.5 * d + 1) +
                                 0.5 * d * std::log(radiusSquared) + 0.5 * logDeterminant;
        logCount = std::min(logCount, logVolume);
    }
    return std::max(1.0, std::exp(logCount));
}

} // namespace orvane::profile
