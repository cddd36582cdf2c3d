// The formula search of one m/z with the default element ranges (C0-60 H0-120 N0-10 O0-20
// P0-3 S0-4 Cl0-4 Br0-3), 5 ppm and [M+H]+, on the shipped data files; reading the ions and
// the element masses is part of every run, as it is of every query of orvane-calc.

#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "shipped_tables.h"

#include "data/data_tables.h"
#include "find/formula_search.h"

namespace {

using namespace orvane;

const data::DataTables& tables() {
    return bench::shippedTables();
}

// state.range(0): the target m/z; state.range(1): 1 with the rules, 0 without.
void BM_FindFormulas(benchmark::State& state) {
    find::FindQuery query;
    query.mz = static_cast<double>(state.range(0));
    if (state.range(1) == 0) {
        query.rules.disableHeuristics();
    }
    std::size_t candidates = 0;
    long long evaluated = 0;
    for (auto _ : state) {
        const find::FindResult result = find::findFormulas(query, tables(), '.');
        candidates = result.candidates.size();
        evaluated = result.evaluated;
        benchmark::DoNotOptimize(result.candidates.data());
    }
    state.counters["evaluated"] = static_cast<double>(evaluated);
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_FindFormulas)
    ->ArgNames({"mz", "rules"})
    ->Args({500, 1})
    ->Args({500, 0})
    ->Args({200, 1})
    ->Args({800, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace
