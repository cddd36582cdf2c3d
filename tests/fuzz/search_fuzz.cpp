// The formula search's inputs, given as one input split at form feeds: the element ranges,
// the ions (one a line) and the target with its tolerance ("m/z ppm"). Every search is
// made or refused with text::Error, and stopped after a bounded walk so that each input
// stays quick however wide its ranges.

#include <cstdlib>
#include <sstream>

#include "data/abundance_file.h"
#include "data/element_file.h"
#include "data/mass_file.h"
#include "find/element_ranges.h"
#include "find/formula_search.h"
#include "formula/element_symbols.h"
#include "fuzz_input.h"
#include "text/error.h"
#include "text/notifier.h"

namespace {

class SilentNotifier final : public orvane::text::Notifier {
public:
    void notify(const std::string&) override {}
    bool confirm(const std::string&) override { return true; }
};

const orvane::data::DataTables& shippedTables() {
    static const orvane::data::DataTables tables = [] {
        orvane::data::DataTables loaded;
        SilentNotifier notifier;
        orvane::data::loadElementFile(ORVANE_SHARE_DIR, loaded, notifier);
        orvane::data::loadAbundanceFile(ORVANE_SHARE_DIR, loaded, notifier);
        orvane::data::loadMassFile(ORVANE_SHARE_DIR, loaded);
        return loaded;
    }();
    return tables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = orvane::fuzz::textOf(data, size);
    std::string parts[3];
    std::size_t at = 0;
    for (std::string& part : parts) {
        const std::size_t end = std::min(text.find('\f', at), text.size());
        part = at <= text.size() ? text.substr(at, end - at) : std::string();
        at = end + 1;
    }
    const orvane::data::DataTables& tables = shippedTables();
    try {
        orvane::find::readElementRanges(parts[0], orvane::formula::symbolsOf(tables.elements));
    } catch (const orvane::text::Error&) {
    }
    orvane::find::FindQuery query;
    query.elementRanges = parts[0];
    query.ions.clear();
    std::istringstream ions(parts[1]);
    for (std::string ion; std::getline(ions, ion) && query.ions.size() < 4;) {
        query.ions.push_back(ion);
    }
    if (query.ions.empty()) {
        query.ions.push_back("[M+H]+");
    }
    std::istringstream target(parts[2]);
    target >> query.mz >> query.tolerance.value;
    query.rules.disableHeuristics();
    query.keep = 5;
    for (const bool streamed : {false, true}) {
        int polls = 0;
        const auto bounded = [&polls](double) { return ++polls < 20; };
        try {
            orvane::find::findFormulas(
                query, tables, '.', bounded,
                streamed ? orvane::find::CandidateSink([](const orvane::find::Candidate&) {})
                         : orvane::find::CandidateSink());
        } catch (const orvane::text::Error&) {
        }
    }
    return 0;
}
