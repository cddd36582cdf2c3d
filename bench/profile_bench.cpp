// The high-resolution profile from the composition: fine structure and Gaussian sum for
// insulin, the clusters' Gaussians for albumin and titin, whose fine structures are far
// too large to enumerate.

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "accurate/ion_mz.h"
#include "profile/profile.h"

namespace {

using namespace orvane::profile;

// Exact masses and abundances of /usr/share/bodr/isotopes.xml.
ElementAtoms element(const std::string& symbol, int atoms) {
    static const std::map<std::string, std::vector<Isotope>> table{
        {"H", {{0, 1.007825032, 0.999885}, {0, 2.014101778, 0.000115}}},
        {"C", {{0, 12.0, 0.9893}, {0, 13.00335484, 0.0107}}},
        {"N", {{0, 14.003074, 0.99632}, {0, 15.0001089, 0.00368}}},
        {"O", {{0, 15.99491462, 0.99757}, {0, 16.9991317, 0.00038}, {0, 17.999161, 0.00205}}},
        {"S",
         {{0, 31.972071, 0.9493},
          {0, 32.97145876, 0.0076},
          {0, 33.9678669, 0.0429},
          {0, 35.96708076, 0.0002}}},
    };
    return {symbol, atoms, table.at(symbol)};
}

std::vector<ElementAtoms> protein(int c, int h, int n, int o, int s) {
    return {element("C", c), element("H", h), element("N", n), element("O", o), element("S", s)};
}

// The isotopologues of one nominal mass: probability, mean and variance of their mass
// defect (mass over the lightest isotopologue's, less the extra nucleons).
struct Nominal {
    double probability = 0;
    double meanDefect = 0;
    double variance = 0;
};
using Nominals = std::vector<Nominal>; // by extra nucleons

// Two independent parts: probabilities multiply, means and variances add; what lands on
// one nominal mass is merged by its moments. The thin tails are cut at 1e-18.
Nominals convolve(const Nominals& a, const Nominals& b) {
    struct Moments {
        double p = 0, mean = 0, square = 0;
    };
    std::vector<Moments> sums(a.size() + b.size() - 1);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            const double p = a[i].probability * b[j].probability;
            const double mean = a[i].meanDefect + b[j].meanDefect;
            Moments& sum = sums[i + j];
            sum.p += p;
            sum.mean += p * mean;
            sum.square += p * (a[i].variance + b[j].variance + mean * mean);
        }
    }
    Nominals result(sums.size());
    for (std::size_t k = 0; k < sums.size(); ++k) {
        if (sums[k].p > 0) {
            const double mean = sums[k].mean / sums[k].p;
            result[k] = {sums[k].p, mean, std::max(0.0, sums[k].square / sums[k].p - mean * mean)};
        }
    }
    while (result.size() > 1 && result.back().probability < 1e-18) {
        result.pop_back();
    }
    return result;
}

// The accurate clusters of an ion, by squaring each element's one-atom distribution.
std::vector<AccurateCluster> clustersOf(const std::vector<ElementAtoms>& elements, int charge) {
    Nominals all{{1, 0, 0}};
    double lightest = 0;
    for (const ElementAtoms& element : elements) {
        const double m0 = element.isotopes.front().mass;
        lightest += element.atomCount * m0;
        Nominals atom;
        for (const Isotope& isotope : element.isotopes) {
            const auto shift = static_cast<std::size_t>(std::lround(isotope.mass - m0));
            atom.resize(std::max(atom.size(), shift + 1));
            atom[shift] = {isotope.probability, isotope.mass - m0 - static_cast<double>(shift), 0};
        }
        Nominals power{{1, 0, 0}};
        for (int n = element.atomCount; n > 0; n /= 2) {
            if (n % 2 == 1) {
                power = convolve(power, atom);
            }
            if (n > 1) {
                atom = convolve(atom, atom);
            }
        }
        all = convolve(all, power);
    }
    std::vector<AccurateCluster> clusters;
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (all[k].probability > 1e-18) {
            const double mass = lightest + static_cast<double>(k) + all[k].meanDefect;
            clusters.push_back(
                {orvane::accurate::mzOf(mass, charge), all[k].probability, all[k].variance});
        }
    }
    return clusters;
}

void profileOf(benchmark::State& state, const ProfileInput& input, double resolvingPower) {
    ProfileSettings settings;
    settings.resolvingPower = resolvingPower;
    Profile profile;
    for (auto _ : state) {
        profile = computeProfile(input, settings);
        benchmark::DoNotOptimize(profile.points.data());
    }
    state.counters["points"] = static_cast<double>(profile.points.size());
    state.counters["sticks"] = static_cast<double>(profile.sticks.size());
    state.counters["fine"] = profile.fromFineStructure ? 1 : 0;
}

const ProfileInput& insulin() {
    static const ProfileInput input{protein(257, 383, 65, 77, 6), 1, {}};
    return input;
}
const ProfileInput& albumin() {
    static const ProfileInput input = [] {
        ProfileInput built{protein(2934, 4615, 781, 897, 39), 1, {}};
        built.clusters = clustersOf(built.elements, built.charge);
        return built;
    }();
    return input;
}
const ProfileInput& titin() {
    static const ProfileInput input = [] {
        ProfileInput built{protein(169719, 270464, 45688, 52237, 911), 1, {}};
        built.clusters = clustersOf(built.elements, built.charge);
        return built;
    }();
    return input;
}

void InsulinR60000(benchmark::State& state) {
    profileOf(state, insulin(), 6e4);
}
void InsulinR1e7(benchmark::State& state) {
    profileOf(state, insulin(), 1e7);
}
void AlbuminClustersR60000(benchmark::State& state) {
    profileOf(state, albumin(), 6e4);
}
void TitinClustersR60000(benchmark::State& state) {
    profileOf(state, titin(), 6e4);
}
void TitinClustersR1e7(benchmark::State& state) {
    profileOf(state, titin(), 1e7);
}

BENCHMARK(InsulinR60000)->Unit(benchmark::kMillisecond);
BENCHMARK(InsulinR1e7)->Unit(benchmark::kMillisecond);
BENCHMARK(AlbuminClustersR60000)->Unit(benchmark::kMillisecond);
BENCHMARK(TitinClustersR60000)->Unit(benchmark::kMillisecond);
BENCHMARK(TitinClustersR1e7)->Unit(benchmark::kMillisecond);

} // namespace
