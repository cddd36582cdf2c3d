// The accurate masses of proteins, from atom counts to the clusters, with the shipped data
// files; reading the isotopes of each element again is part of every run.

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "shipped_tables.h"

#include "accurate/accurate_masses.h"
#include "data/data_tables.h"

namespace {

using namespace orvane;

const data::DataTables& tables() {
    return bench::shippedTables();
}

std::vector<accurate::AtomCount>
countsOf(const std::vector<std::pair<std::string, long long>>& formula) {
    std::vector<accurate::AtomCount> counts;
    for (const auto& [symbol, atoms] : formula) {
        int column = 0;
        for (int c = 1; c <= tables().elementCount; ++c) {
            if (tables().elements.cell(c, data::SymbolRow) == symbol) {
                column = c;
            }
        }
        if (column == 0) {
            throw std::runtime_error("no element " + symbol);
        }
        counts.push_back({column, atoms});
    }
    return counts;
}

void accurateMasses(benchmark::State& state,
                    const std::vector<std::pair<std::string, long long>>& formula) {
    const std::vector<accurate::AtomCount> counts = countsOf(formula);
    accurate::AccurateMasses masses;
    for (auto _ : state) {
        masses = accurate::computeAccurateMasses(counts, tables(), '.');
        benchmark::DoNotOptimize(masses.clusters.data());
    }
    state.counters["clusters"] = static_cast<double>(masses.clusters.size());
}

void BovineSerumAlbumin(benchmark::State& state) {
    accurateMasses(state, {{"C", 2934}, {"H", 4615}, {"N", 781}, {"O", 897}, {"S", 39}});
}
void Titin(benchmark::State& state) {
    accurateMasses(state, {{"C", 169719}, {"H", 270464}, {"N", 45688}, {"O", 52237}, {"S", 911}});
}

BENCHMARK(BovineSerumAlbumin)->Unit(benchmark::kMillisecond);
BENCHMARK(Titin)->Unit(benchmark::kMillisecond);

} // namespace
