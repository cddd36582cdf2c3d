#include "tracer/correction_matrix.h"

#include <algorithm>
#include <cassert>

namespace orvane::tracer {
namespace {

std::vector<std::vector<int>> allIsotopologues(const std::vector<long long>& counts) {
    std::vector<std::vector<int>> out{{}};
    for (const long long count : counts) {
        std::vector<std::vector<int>> longer;
        for (const std::vector<int>& start : out) {
            for (int k = 0; k <= count; ++k) {
                std::vector<int> next = start;
                next.push_back(k);
                longer.push_back(std::move(next));
            }
        }
        out = std::move(longer);
    }
    return out;
}

// The tracer atoms of isotopologue `k`: k labelled positions per tracer, the others natural
// (or all lightest).
std::vector<AtomBlock> tracerBlocks(const std::vector<Tracer>& tracers,
                                    const std::vector<long long>& counts, const std::vector<int>& k,
                                    bool natural) {
    std::vector<AtomBlock> blocks;
    for (std::size_t t = 0; t < tracers.size(); ++t) {
        const Tracer& tracer = tracers[t];
        AtomBlock labelled{tracer.isotopes, k[t]};
        for (std::size_t i = 0; i < labelled.isotopes.size(); ++i) {
            labelled.isotopes[i].probability = tracer.purity[i];
        }
        blocks.push_back(std::move(labelled));
        AtomBlock unlabelled{tracer.isotopes, counts[t] - k[t]};
        if (!natural) {
            unlabelled.isotopes = {tracer.isotopes.front()};
            unlabelled.isotopes.front().probability = 1;
        }
        blocks.push_back(std::move(unlabelled));
    }
    return blocks;
}

} // namespace

CorrectionMatrix correctionMatrix(const std::vector<AtomBlock>& background,
                                  const std::vector<Tracer>& tracers,
                                  const std::vector<long long>& tracerCounts,
                                  bool correctTracerNaturalAbundance, std::optional<double> limit) {
    assert(tracers.size() == tracerCounts.size());
    CorrectionMatrix result;
    result.isotopologues = allIsotopologues(tracerCounts);
    const int size = static_cast<int>(result.isotopologues.size());
    result.matrix = Matrix(size, size);
    // where each isotopologue's peak lies: whole steps, or the exact mass
    std::vector<long long> peakSteps(size, 0);
    std::vector<double> peakMass(size, 0);
    std::vector<AtomBlock> lightestAll = background;
    for (std::size_t t = 0; t < tracers.size(); ++t) {
        lightestAll.push_back({tracers[t].isotopes, tracerCounts[t]});
    }
    const double lightest = lightestMass(lightestAll);
    for (int i = 0; i < size; ++i) {
        peakMass[i] = lightest;
        for (std::size_t t = 0; t < tracers.size(); ++t) {
            peakSteps[i] += result.isotopologues[i][t] * tracers[t].nominalShift();
            peakMass[i] += result.isotopologues[i][t] * tracers[t].massShift();
        }
    }
    if (!limit) {
        for (int j = 0; j < size; ++j) {
            std::vector<AtomBlock> blocks = tracerBlocks(
                tracers, tracerCounts, result.isotopologues[j], correctTracerNaturalAbundance);
            blocks.insert(blocks.end(), background.begin(), background.end());
            const std::vector<double> column = stepDistribution(blocks);
            for (int i = 0; i < size; ++i) {
                const auto step = static_cast<std::size_t>(peakSteps[i]);
                result.matrix.at(i, j) = step < column.size() ? column[step] : 0.0;
            }
        }
        return result;
    }
    const std::vector<Variant> base = fineVariants(background);
    for (int j = 0; j < size; ++j) {
        const std::vector<Variant> column =
            combined(base, fineVariants(tracerBlocks(tracers, tracerCounts, result.isotopologues[j],
                                                     correctTracerNaturalAbundance)));
        for (int i = 0; i < size; ++i) {
            // the variants sorted by mass: those within the limit form one run
            const auto first = std::lower_bound(
                column.begin(), column.end(), peakMass[i] - *limit,
                [](const Variant& variant, double mass) { return variant.mass < mass; });
            double sum = 0;
            for (auto it = first; it != column.end() && it->mass <= peakMass[i] + *limit; ++it) {
                sum += it->probability;
            }
            result.matrix.at(i, j) = sum;
        }
    }
    return result;
}

} // namespace orvane::tracer
