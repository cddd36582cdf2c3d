// From atom counts to the normalised pattern, with the shipped data files: the work one
// count change costs before the plot.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "shipped_tables.h"

#include "calc/composition_summary.h"
#include "calc/isotope_engine.h"
#include "data/data_tables.h"

namespace {

using namespace orvane;

data::DataTables& tables() {
    return bench::shippedTables();
}

int columnOf(const std::string& symbol) {
    const data::TextGrid& elements = tables().elements;
    for (int c = 1; c < elements.columnCount(); ++c) {
        if (elements.cell(c, data::SymbolRow) == symbol) {
            return c;
        }
    }
    throw std::runtime_error("no element " + symbol);
}

// The terms one run of the engine sums: its progress counts one unit per atom step and one
// per term, and hears the whole at the end.
long long termsOf(const calc::Composition& composition, const data::TextGrid& isotopes) {
    long long units = 0;
    calc::CellReadings isotopeReadings;
    calc::MsDataGrid msData;
    std::optional<calc::MsRange> msRange;
    calc::simulateIsotopePattern({composition.elements, isotopes, '.'}, isotopeReadings, msData,
                                 msRange, [&units](long long done, long long) {
                                     units = done;
                                     return true;
                                 });
    long long atomSteps = 0;
    for (const calc::WorkingElement& element : composition.elements) {
        atomSteps += std::max(static_cast<long long>(std::nearbyint(element.count)), 0LL);
    }
    return units - atomSteps;
}

// `threads` (1 or 2), the shortest step that is split and the vector lanes, as the engine
// takes them. The counters: the array's length, and the terms summed per second (counted by
// a run before).
void countsToPattern(benchmark::State& state,
                     const std::vector<std::pair<std::string, std::string>>& formula,
                     int threads = 1, long long splitTerms = 3000,
                     calc::Lanes lanes = calc::widestLanes()) {
    if (static_cast<int>(lanes) > static_cast<int>(calc::widestLanes())) {
        state.SkipWithError("this processor has no such lanes");
        return;
    }
    data::DataTables& t = tables();
    for (int c = 1; c < t.elements.columnCount(); ++c) {
        t.elements.setCell(c, data::CountRow, "0");
    }
    std::vector<std::pair<int, std::string>> counts;
    for (const auto& [symbol, count] : formula) {
        counts.emplace_back(columnOf(symbol), count);
    }
    calc::Composition composition;
    calc::CompositionReadings readings;
    calc::CellReadings isotopeReadings;
    std::string weight, averageMz, formulaText;
    data::TextGrid workGrid(6, 2);
    calc::MsDataGrid msData;
    std::optional<calc::MsRange> msRange;
    calc::PatternState pattern;
    for (auto _ : state) {
        for (const auto& [column, count] : counts) {
            t.elements.setCell(column, data::CountRow, count);
        }
        calc::calculateComposition(t.elements, 1, '.', readings, composition,
                                   {weight, averageMz, formulaText, workGrid, msData});
        calc::EngineInput input{composition.elements, t.isotopes, '.'};
        input.threads = threads;
        input.minimumSplitTerms = splitTerms;
        input.lanes = lanes;
        pattern = calc::simulateIsotopePattern(input, isotopeReadings, msData, msRange);
        benchmark::DoNotOptimize(pattern.p.data());
    }
    state.counters["array"] = static_cast<double>(pattern.p.size());
    state.counters["terms"] =
        benchmark::Counter(static_cast<double>(termsOf(composition, t.isotopes)) *
                               static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    for (const auto& [column, count] : counts) {
        t.elements.setCell(column, data::CountRow, "0");
    }
}

void Glucose(benchmark::State& state) {
    countsToPattern(state, {{"C", "6"}, {"H", "12"}, {"O", "6"}});
}
void Insulin(benchmark::State& state) {
    countsToPattern(state, {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}});
}
void BovineSerumAlbumin(benchmark::State& state) {
    countsToPattern(state, {{"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}});
}
void Polyethylene20k(benchmark::State& state) {
    countsToPattern(state, {{"C", "1430"}, {"H", "2862"}});
}

// One and two threads for the long steps of large molecules: (threads, shortest step split).
// Two threads share blocks of 32 or 16 steps where the entries are wide enough, and split
// other steps of at least the second number of terms one at a time. On the 2-core
// development VM: titin 4.5 s on one, 2.42-2.6 s on two; albumin 11.7-12 ms, 7.8-8 ms; a
// 450 kDa protein 152-157 ms, 93-104 ms (at 400 or 1000 alike). With a hand-over at every
// step they took 2.54-2.9 s, 8.8-9.4 ms and 105 ms on the VM's faster days, 3.2-3.3 s,
// 9.8-10 ms and 108-164 ms the evening the blocks were measured against them: the other
// core must be free the moment work is shared. On a 2-core Intel Xeon (Sapphire Rapids) VM:
// titin 2.86-2.99 s, 1.63-1.72 s; albumin 6.9-7.7 ms, 5.1-5.7 ms; the 450 kDa protein
// 93-98 ms, 56-62 ms. Where taking the blocks alone has lately been quicker (a busy
// machine) two threads take them alone.
const std::vector<std::pair<std::string, std::string>> albumin = {
    {"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}};
const std::vector<std::pair<std::string, std::string>> protein450k = {
    {"C", "20000"}, {"H", "31000"}, {"N", "5400"}, {"O", "6000"}, {"S", "150"}};
void AlbuminThreads(benchmark::State& state) {
    countsToPattern(state, albumin, static_cast<int>(state.range(0)), state.range(1));
}
const std::vector<std::pair<std::string, std::string>> titin = {
    {"C", "169719"}, {"H", "270464"}, {"N", "45688"}, {"O", "52237"}, {"S", "911"}};
void TitinThreads(benchmark::State& state) {
    countsToPattern(state, titin, static_cast<int>(state.range(0)), state.range(1));
}
void Protein450kThreads(benchmark::State& state) {
    countsToPattern(state, protein450k, static_cast<int>(state.range(0)), state.range(1));
}

// Each width of vector lanes (0 none: the x87 alone, 1 four, 2 eight) on one and two threads.
void AlbuminLanes(benchmark::State& state) {
    countsToPattern(state, albumin, static_cast<int>(state.range(1)), 400,
                    static_cast<calc::Lanes>(state.range(0)));
}
void Protein450kLanes(benchmark::State& state) {
    countsToPattern(state, protein450k, static_cast<int>(state.range(1)), 400,
                    static_cast<calc::Lanes>(state.range(0)));
}

// The pattern of a batch row: only up to the cut above the peak, the columns' isotopes and
// the first element's (hydrogen's) steps kept from the row before. C20H30N2O5 took 9.5 us
// on the development machine with the cut ten standard deviations and 16 entries above the
// mean and every hydrogen step made (2,300 terms, 4 ns a term: in steps this short the
// divisions overlap less than in long ones); 5.5 us with the cut from the tail bound and
// the hydrogen steps taken from the row before.
void BatchRowPattern(benchmark::State& state) {
    data::DataTables& t = tables();
    const std::vector<std::pair<std::string, std::string>> formula = {
        {"C", "20"}, {"H", "30"}, {"N", "2"}, {"O", "5"}};
    for (int c = 1; c < t.elements.columnCount(); ++c) {
        t.elements.setCell(c, data::CountRow, "0");
    }
    for (const auto& [symbol, count] : formula) {
        t.elements.setCell(columnOf(symbol), data::CountRow, count);
    }
    calc::Composition composition;
    calc::CompositionReadings readings;
    std::string weight, averageMz, formulaText;
    data::TextGrid workGrid(6, 2);
    calc::MsDataGrid msData;
    calc::calculateComposition(t.elements, 1, '.', readings, composition,
                               {weight, averageMz, formulaText, workGrid, msData});
    calc::CellReadings isotopeReadings;
    calc::IsotopeColumnsMemo memo;
    std::optional<calc::MsRange> msRange;
    for (auto _ : state) {
        calc::EngineInput input{composition.elements, t.isotopes, '.'};
        input.centroidOnly = true;
        input.fillsMsData = false;
        input.columnsMemo = &memo;
        const calc::PatternState pattern =
            calc::simulateIsotopePattern(input, isotopeReadings, msData, msRange);
        benchmark::DoNotOptimize(pattern.centroid);
    }
    for (const auto& [symbol, count] : formula) {
        t.elements.setCell(columnOf(symbol), data::CountRow, "0");
    }
}

BENCHMARK(Glucose)->Unit(benchmark::kMicrosecond);
BENCHMARK(BatchRowPattern)->Unit(benchmark::kMicrosecond);
BENCHMARK(AlbuminThreads)
    ->Args({1, 0})
    ->Args({2, 400})
    ->Args({2, 1000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(TitinThreads)
    ->Args({1, 0})
    ->Args({2, 400})
    ->Args({2, 1000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Protein450kThreads)
    ->Args({1, 0})
    ->Args({2, 400})
    ->Args({2, 1000})
    ->Args({2, 3000})
    ->Args({2, 10000})
    ->Args({2, 30000})
    ->Args({2, 100000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(AlbuminLanes)->ArgsProduct({{0, 1, 2}, {1, 2}})->Unit(benchmark::kMillisecond);
BENCHMARK(Protein450kLanes)->ArgsProduct({{0, 1, 2}, {1, 2}})->Unit(benchmark::kMillisecond);
BENCHMARK(Insulin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BovineSerumAlbumin)->Unit(benchmark::kMillisecond);
BENCHMARK(Polyethylene20k)->Unit(benchmark::kMillisecond);

} // namespace
