#include "tracer/atom_block.h"

#include <algorithm>
#include <cmath>

namespace orvane::tracer {
namespace {

constexpr double smallestKept = 1e-16;
constexpr double sameMass = 1e-9;

std::vector<double> convolve(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out(a.size() + b.size() - 1, 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == 0) {
            continue;
        }
        for (std::size_t j = 0; j < b.size(); ++j) {
            out[i + j] += a[i] * b[j];
        }
    }
    return out;
}

std::vector<Variant> merged(std::vector<Variant> variants) {
    std::sort(variants.begin(), variants.end(),
              [](const Variant& a, const Variant& b) { return a.mass < b.mass; });
    std::vector<Variant> out;
    for (const Variant& variant : variants) {
        if (!out.empty() && variant.mass - out.back().mass < sameMass &&
            variant.steps == out.back().steps) {
            out.back().probability += variant.probability;
        } else {
            out.push_back(variant);
        }
    }
    return out;
}

// The variants of one block: every multiset of isotopes over its atoms, with the
// multinomial probability, computed through logarithms so that large counts stay finite.
std::vector<Variant> blockVariants(const AtomBlock& block) {
    const std::vector<accurate::Isotope>& isotopes = block.isotopes;
    std::vector<Variant> out;
    if (block.count == 0 || isotopes.empty()) {
        return {{0, 0, 1}};
    }
    const long long lightest = isotopes.front().massNumber;
    std::vector<long long> counts(isotopes.size(), 0);
    const double logAll = std::lgamma(static_cast<double>(block.count) + 1);
    // enumerates the counts of isotopes 1.. (the lightest takes the rest), depth first
    const auto visit = [&](auto&& self, std::size_t which, long long left) -> void {
        if (which == isotopes.size()) {
            counts[0] = left;
            double logP = logAll;
            double mass = 0;
            long long steps = 0;
            for (std::size_t i = 0; i < isotopes.size(); ++i) {
                if (counts[i] == 0) {
                    continue;
                }
                if (isotopes[i].probability <= 0) {
                    return;
                }
                logP += counts[i] * std::log(isotopes[i].probability) -
                        std::lgamma(static_cast<double>(counts[i]) + 1);
                mass += counts[i] * isotopes[i].mass;
                steps += counts[i] * (isotopes[i].massNumber - lightest);
            }
            const double p = std::exp(logP);
            if (p >= smallestKept) {
                out.push_back({mass, steps, p});
            }
            return;
        }
        for (long long n = 0; n <= left; ++n) {
            counts[which] = n;
            self(self, which + 1, left - n);
        }
        counts[which] = 0;
    };
    if (isotopes.size() == 1) {
        return {{block.count * isotopes.front().mass, 0, 1}};
    }
    visit(visit, 1, block.count);
    return merged(std::move(out));
}

} // namespace

std::vector<double> stepDistribution(const std::vector<AtomBlock>& blocks) {
    std::vector<double> total{1.0};
    for (const AtomBlock& block : blocks) {
        if (block.isotopes.empty() || block.count == 0) {
            continue;
        }
        const long long lightest = block.isotopes.front().massNumber;
        std::vector<double> one(block.isotopes.back().massNumber - lightest + 1, 0.0);
        for (const accurate::Isotope& isotope : block.isotopes) {
            one[isotope.massNumber - lightest] += isotope.probability;
        }
        // by squaring: the power of one atom's distribution
        std::vector<double> power{1.0};
        std::vector<double> base = one;
        for (long long n = block.count; n > 0; n >>= 1) {
            if (n & 1) {
                power = convolve(power, base);
            }
            if (n > 1) {
                base = convolve(base, base);
            }
        }
        total = convolve(total, power);
    }
    return total;
}

std::vector<Variant> combined(const std::vector<Variant>& a, const std::vector<Variant>& b) {
    std::vector<Variant> out;
    out.reserve(a.size() * b.size());
    for (const Variant& x : a) {
        for (const Variant& y : b) {
            const double p = x.probability * y.probability;
            if (p >= smallestKept) {
                out.push_back({x.mass + y.mass, x.steps + y.steps, p});
            }
        }
    }
    return merged(std::move(out));
}

std::vector<Variant> fineVariants(const std::vector<AtomBlock>& blocks) {
    std::vector<Variant> total{{0, 0, 1}};
    for (const AtomBlock& block : blocks) {
        total = combined(total, blockVariants(block));
    }
    return total;
}

double lightestMass(const std::vector<AtomBlock>& blocks) {
    double mass = 0;
    for (const AtomBlock& block : blocks) {
        if (!block.isotopes.empty()) {
            mass += block.count * block.isotopes.front().mass;
        }
    }
    return mass;
}

} // namespace orvane::tracer
