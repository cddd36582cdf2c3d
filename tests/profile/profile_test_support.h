#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "accurate/ion_mz.h"
#include "profile/fine_structure.h"
#include "profile/profile_input.h"

namespace orvane::profile::support {

/// The elements of a formula, isotopes as /usr/share/bodr/isotopes.xml gives them
/// (exact mass, per cent).
inline std::vector<ElementAtoms> formula(const std::vector<std::pair<std::string, int>>& counts) {
    static const std::map<std::string, std::vector<Isotope>> table{
        {"H", {{0, 1.007825032, 99.9885}, {0, 2.014101778, 0.0115}}},
        {"C", {{0, 12.0, 98.93}, {0, 13.00335484, 1.07}}},
        {"N", {{0, 14.003074, 99.632}, {0, 15.0001089, 0.368}}},
        {"O", {{0, 15.99491462, 99.757}, {0, 16.9991317, 0.038}, {0, 17.999161, 0.205}}},
        {"S",
         {{0, 31.972071, 94.93},
          {0, 32.97145876, 0.76},
          {0, 33.9678669, 4.29},
          {0, 35.96708076, 0.02}}},
        {"Cl", {{0, 34.96885268, 75.78}, {0, 36.96590259, 24.22}}},
        {"Zn",
         {{0, 63.9291466, 48.63},
          {0, 65.9260368, 27.90},
          {0, 66.9271309, 4.10},
          {0, 67.9248476, 18.75},
          {0, 69.925325, 0.62}}},
        {"Sn",
         {{0, 111.904821, 0.97},
          {0, 113.902782, 0.66},
          {0, 114.903346, 0.34},
          {0, 115.901744, 14.54},
          {0, 116.902954, 7.68},
          {0, 117.901606, 24.22},
          {0, 118.903309, 8.59},
          {0, 119.9021966, 32.58},
          {0, 121.9034401, 4.63},
          {0, 123.9052746, 5.79}}},
    };
    std::vector<ElementAtoms> elements;
    for (const auto& [symbol, atoms] : counts) {
        elements.push_back({symbol, atoms, table.at(symbol)});
    }
    return elements;
}

inline const std::vector<std::pair<std::string, int>> insulin{
    {"C", 257}, {"H", 383}, {"N", 65}, {"O", 77}, {"S", 6}};

struct ExactPeak {
    double mass = 0;
    double probability = 0;
    int nucleonShift = 0; // over the lightest isotopologue
};

/// Every isotopologue, sorted by mass: each element's atom-count vectors built atom by
/// atom, then all combinations. For up to a few hundred thousand.
inline std::vector<ExactPeak> bruteForce(const std::vector<ElementAtoms>& elements) {
    std::vector<ExactPeak> all{{0, 1, 0}};
    for (const ElementAtoms& element : elements) {
        const std::vector<Isotope>& isotopes = element.isotopes;
        double total = 0;
        for (const Isotope& isotope : isotopes) {
            total += isotope.probability;
        }
        std::map<std::vector<int>, double> own{{std::vector<int>(isotopes.size(), 0), 1.0}};
        for (int atom = 0; atom < element.atomCount; ++atom) {
            std::map<std::vector<int>, double> next;
            for (const auto& [counts, probability] : own) {
                for (std::size_t i = 0; i < isotopes.size(); ++i) {
                    std::vector<int> more = counts;
                    ++more[i];
                    next[more] += probability * isotopes[i].probability / total;
                }
            }
            own = std::move(next);
        }
        std::vector<ExactPeak> combined;
        for (const ExactPeak& a : all) {
            for (const auto& [counts, probability] : own) {
                ExactPeak b{a.mass, a.probability * probability, a.nucleonShift};
                for (std::size_t i = 0; i < isotopes.size(); ++i) {
                    b.mass += counts[i] * isotopes[i].mass;
                    b.nucleonShift +=
                        counts[i] *
                        static_cast<int>(std::lround(isotopes[i].mass - isotopes[0].mass));
                }
                combined.push_back(b);
            }
        }
        all = std::move(combined);
    }
    std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.mass < b.mass; });
    return all;
}

/// The exact peaks above `floor` as m/z for `charge`, sorted by m/z.
inline std::vector<FinePeak> asFinePeaks(const std::vector<ExactPeak>& exact, int charge,
                                         double floor = 0) {
    std::vector<FinePeak> peaks;
    for (const ExactPeak& peak : exact) {
        if (peak.probability > floor) {
            peaks.push_back({accurate::mzOf(peak.mass, charge), peak.probability});
        }
    }
    std::sort(peaks.begin(), peaks.end(), [](auto& a, auto& b) { return a.mz < b.mz; });
    return peaks;
}

/// At x, the sum of Gaussians of area p and FWHM m/z / R, one exp per peak within 12
/// sigma (beyond, e^-72); peaks sorted by m/z.
inline double directSum(const std::vector<FinePeak>& peaks, double x, double resolvingPower) {
    const double fwhmPerSigma = 2 * std::sqrt(2 * std::numbers::ln2);
    const double reach = 12.1 * x / resolvingPower / fwhmPerSigma;
    auto it = std::lower_bound(peaks.begin(), peaks.end(), x - reach,
                               [](const FinePeak& p, double v) { return p.mz < v; });
    double sum = 0;
    for (; it != peaks.end() && it->mz <= x + reach; ++it) {
        const double sigma = it->mz / resolvingPower / fwhmPerSigma;
        sum += it->probability / (sigma * std::sqrt(2 * std::numbers::pi)) *
               std::exp(-(x - it->mz) * (x - it->mz) / (2 * sigma * sigma));
    }
    return sum;
}

} // namespace orvane::profile::support
