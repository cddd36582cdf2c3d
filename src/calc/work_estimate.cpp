#include "calc/work_estimate.h"

#include <algorithm>
#include <cmath>

namespace orvane::calc {

namespace {

// Entries start at 300 and never exceed it; below 300 / 2^1074 they are 0.
// sqrt(2 ln(300 / 4.9e-324)) standard deviations out a Gaussian sum reaches that.
constexpr double tailDeviations = 38.7;

} // namespace

long long estimateTerms(const std::vector<ElementWork>& elements, long long halfWidth) {
    long double terms = 0;
    long long first = halfWidth; // the reachable range, as indices of the window
    long long last = halfWidth;
    const long long end = 2 * halfWidth;
    double variance = 0;
    for (const ElementWork& element : elements) {
        if (element.isotopes <= 1 && element.lowestOffset == 0 && element.highestOffset == 0) {
            continue; // a single isotope at offset 0 leaves the pattern as it is
        }
        for (long long step = 0; step < element.atoms; ++step) {
            first = std::max(first + element.lowestOffset, 0LL);
            last = std::min(last + element.highestOffset, end);
            if (last < first) {
                return static_cast<long long>(terms);
            }
            variance += element.variance;
            const double tails = 2 * tailDeviations * std::sqrt(variance) + 1;
            const double reach = std::min(static_cast<double>(last - first + 1), tails);
            terms += static_cast<long double>(reach) * element.isotopes;
        }
    }
    return static_cast<long long>(std::min(terms, 9e18L));
}

} // namespace orvane::calc
