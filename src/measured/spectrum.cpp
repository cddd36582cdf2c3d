#include "measured/spectrum.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>

#include "text/error.h"
#include "text/number_text.h"

namespace orvane::measured {

void requireValidPoints(const Spectrum& spectrum, const std::string& where) {
    assert(spectrum.mz.size() == spectrum.intensity.size());
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        const double mz = spectrum.mz[i];
        const double intensity = spectrum.intensity[i];
        const std::string point = where + ": point " + std::to_string(i + 1) + ": ";
        if (!(std::isfinite(mz) && mz > 0)) {
            throw text::Error(point + "the m/z " + text::generalText(mz, '.') +
                              " is not a finite number above 0");
        }
        if (!(std::isfinite(intensity) && intensity >= 0)) {
            throw text::Error(point + "the intensity " + text::generalText(intensity, '.') +
                              " is not a finite number of 0 or more");
        }
    }
}

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

std::optional<std::size_t> tallestNear(const Spectrum& spectrum, double mz, double window) {
    const auto first = std::lower_bound(spectrum.mz.begin(), spectrum.mz.end(), mz - window);
    std::optional<std::size_t> tallest;
    for (auto it = first; it != spectrum.mz.end() && *it <= mz + window; ++it) {
        const auto i = static_cast<std::size_t>(it - spectrum.mz.begin());
        if (spectrum.intensity[i] > 0 &&
            (!tallest || spectrum.intensity[i] > spectrum.intensity[*tallest])) {
            tallest = i;
        }
    }
    return tallest;
}

} // namespace orvane::measured
