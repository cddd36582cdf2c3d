#include "measured/spectrum.h"

#include <algorithm>
#include <cassert>
#include <numeric>

namespace orvane::measured {

void sortByMz(Spectrum& spectrum) {
    assert(spectrum.mz.size() == spectrum.intensity.size());
    if (std::is_sorted(spectrum.mz.begin(), spectrum.mz.end())) {
        return; // what the instruments write, so the usual case costs one pass
    }
    std::vector<std::size_t> order(spectrum.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return spectrum.mz[a] < spectrum.mz[b]; });
    Spectrum sorted;
    sorted.mz.reserve(order.size());
    sorted.intensity.reserve(order.size());
    for (const std::size_t i : order) {
        sorted.mz.push_back(spectrum.mz[i]);
        sorted.intensity.push_back(spectrum.intensity[i]);
    }
    spectrum = std::move(sorted);
}

double summedIntensity(const Spectrum& spectrum, double mzLow, double mzHigh) {
    const auto first = std::lower_bound(spectrum.mz.begin(), spectrum.mz.end(), mzLow);
    const auto last = std::upper_bound(first, spectrum.mz.end(), mzHigh);
    // Extended precision, so that a sum over a hundred thousand profile points keeps its digits.
    long double sum = 0;
    for (auto i = static_cast<std::size_t>(first - spectrum.mz.begin());
         i < static_cast<std::size_t>(last - spectrum.mz.begin()); ++i) {
        sum += spectrum.intensity[i];
    }
    return static_cast<double>(sum);
}

double summedIntensity(const Spectrum& spectrum) {
    long double sum = 0;
    for (const double value : spectrum.intensity) {
        sum += value;
    }
    return static_cast<double>(sum);
}

} // namespace orvane::measured
