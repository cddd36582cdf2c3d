#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "profile/fine_structure.h"
#include "profile/profile_input.h"

namespace orvane::profile::support {

/// C, H, N, O, S and Cl as /usr/share/bodr/isotopes.xml gives them (exact mass, per cent).
inline ElementAtoms element(const std::string& symbol, int atoms) {
    static const std::map<std::string, std::vector<Isotope>> table{
        {"H", {{1.007825032, 99.9885}, {2.014101778, 0.0115}}},
        {"C", {{12.0, 98.93}, {13.00335484, 1.07}}},
        {"N", {{14.003074, 99.632}, {15.0001089, 0.368}}},
        {"O", {{15.99491462, 99.757}, {16.9991317, 0.038}, {17.999161, 0.205}}},
        {"S", {{31.972071, 94.93}, {32.97145876, 0.76}, {33.9678669, 4.29}, {35.96708076, 0.02}}},
        {"Cl", {{34.96885268, 75.78}, {36.96590259, 24.22}}},
    };
    return {symbol, atoms, table.at(symbol)};
}

/// The elements of a formula given as (symbol, count) pairs.
inline std::vector<ElementAtoms> formula(const std::vector<std::pair<std::string, int>>& counts) {
    std::vector<ElementAtoms> elements;
    for (const auto& [symbol, atoms] : counts) {
        elements.push_back(element(symbol, atoms));
    }
    return elements;
}

inline const std::vector<std::pair<std::string, int>> insulin{
    {"C", 257}, {"H", 383}, {"N", 65}, {"O", 77}, {"S", 6}};

// One isotopologue of the brute-force enumeration.
struct ExactPeak {
    double mass = 0;
    double probability = 0;
    int nucleonShift = 0; // extra nucleons over the lightest isotopologue
};

/// Every isotopologue, atom-count vector by atom-count vector: each element's
/// multinomial, then all combinations. Only for molecules of up to a few million.
inline std::vector<ExactPeak> bruteForce(const std::vector<ElementAtoms>& elements) {
    std::vector<ExactPeak> all{{0, 1, 0}};
    for (const ElementAtoms& element : elements) {
        const std::size_t k = element.isotopes.size();
        double total = 0;
        for (const Isotope& isotope : element.isotopes) {
            total += isotope.probability;
        }
        std::vector<ExactPeak> own;
        std::vector<int> counts(k, 0);
        // counts[0] takes what the others leave
        auto visit = [&](auto&& self, std::size_t i, int left) -> void {
            if (i == k) {
                ExactPeak peak{0, std::lgamma(element.atomCount + 1.0), 0};
                counts[0] = left;
                for (std::size_t j = 0; j < k; ++j) {
                    const Isotope& isotope = element.isotopes[j];
                    peak.mass += counts[j] * isotope.mass;
                    peak.probability += counts[j] * std::log(isotope.probability / total) -
                                        std::lgamma(counts[j] + 1.0);
                    peak.nucleonShift +=
                        counts[j] *
                        static_cast<int>(std::lround(isotope.mass - element.isotopes[0].mass));
                }
                peak.probability = std::exp(peak.probability);
                own.push_back(peak);
                return;
            }
            for (int c = 0; c <= left; ++c) {
                counts[i] = c;
                self(self, i + 1, left - c);
            }
        };
        visit(visit, 1, element.atomCount);
        std::vector<ExactPeak> combined;
        for (const ExactPeak& a : all) {
            for (const ExactPeak& b : own) {
                combined.push_back({a.mass + b.mass, a.probability * b.probability,
                                    a.nucleonShift + b.nucleonShift});
            }
        }
        all = std::move(combined);
    }
    std::sort(all.begin(), all.end(),
              [](const ExactPeak& a, const ExactPeak& b) { return a.mass < b.mass; });
    return all;
}

/// The exact peaks as m/z for `charge`.
inline std::vector<FinePeak> asFinePeaks(const std::vector<ExactPeak>& exact, int charge) {
    std::vector<FinePeak> peaks;
    for (const ExactPeak& peak : exact) {
        peaks.push_back({mzOfMass(peak.mass, charge), peak.probability});
    }
    return peaks;
}

/// The sum of area-normalised Gaussians of FWHM m/z / R at x, one exp per peak within
/// 12 sigma (beyond, e^-72), peaks sorted by m/z.
inline double directSum(const std::vector<FinePeak>& peaks, double x, double resolvingPower) {
    const double reach = 12 * x / resolvingPower / 2.3548200450309493 * 1.01;
    auto it = std::lower_bound(peaks.begin(), peaks.end(), x - reach,
                               [](const FinePeak& p, double v) { return p.mz < v; });
    double sum = 0;
    for (; it != peaks.end() && it->mz <= x + reach; ++it) {
        const double sigma = it->mz / resolvingPower / 2.3548200450309493;
        const double d = x - it->mz;
        sum += it->probability / (sigma * std::sqrt(2 * std::numbers::pi)) *
               std::exp(-d * d / (2 * sigma * sigma));
    }
    return sum;
}

} // namespace orvane::profile::support
