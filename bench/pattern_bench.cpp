// From atom counts to the normalised pattern, with the shipped data files: the work one
// count change costs before the plot.

#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "calc/composition_summary.h"
#include "calc/isotope_engine.h"
#include "data/abundance_file.h"
#include "data/data_tables.h"
#include "data/element_file.h"
#include "text/notifier.h"

namespace {

using namespace orvane;

class FailingNotifier : public text::Notifier {
public:
    void notify(const std::string& message) override { throw std::runtime_error(message); }
    bool confirm(const std::string& message) override { throw std::runtime_error(message); }
};

// The tables are loaded once; every benchmark writes its own counts.
data::DataTables& tables() {
    static data::DataTables loaded = [] {
        data::DataTables t;
        FailingNotifier notifier;
        if (!data::loadElementFile(ORVANE_SHARE_DIR, t, notifier)) {
            throw std::runtime_error("no element file");
        }
        data::loadAbundanceFile(ORVANE_SHARE_DIR, t, notifier);
        return t;
    }();
    return loaded;
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

// `threads` as the engine takes it: 0 for what the machine has.
void countsToPattern(benchmark::State& state,
                     const std::vector<std::pair<std::string, std::string>>& formula,
                     int threads = 0) {
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
        pattern = calc::simulateIsotopePattern(input, isotopeReadings, msData, msRange);
        benchmark::DoNotOptimize(pattern.p.data());
    }
    state.counters["array"] = static_cast<double>(pattern.p.size());
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

// One and two threads for the long steps of large molecules (Arg(0) is one thread).
const std::vector<std::pair<std::string, std::string>> albumin = {
    {"C", "2934"}, {"H", "4615"}, {"N", "781"}, {"O", "897"}, {"S", "39"}};
const std::vector<std::pair<std::string, std::string>> protein450k = {
    {"C", "20000"}, {"H", "31000"}, {"N", "5400"}, {"O", "6000"}, {"S", "150"}};
void AlbuminThreads(benchmark::State& state) {
    countsToPattern(state, albumin, static_cast<int>(state.range(0)));
}
void Protein450kThreads(benchmark::State& state) {
    countsToPattern(state, protein450k, static_cast<int>(state.range(0)));
}

BENCHMARK(Glucose)->Unit(benchmark::kMicrosecond);
BENCHMARK(AlbuminThreads)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(Protein450kThreads)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(Insulin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BovineSerumAlbumin)->Unit(benchmark::kMillisecond);
BENCHMARK(Polyethylene20k)->Unit(benchmark::kMillisecond);

} // namespace
