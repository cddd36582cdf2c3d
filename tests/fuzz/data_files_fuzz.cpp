// The three data files, elem.txt, abundances.txt and masses.txt, given as one input split at
// form feeds: loaded, then every element's isotopes read or refused with text::Error.

#include "accurate/element_isotopes.h"
#include "data/abundance_file.h"
#include "data/element_file.h"
#include "data/mass_file.h"
#include "fuzz_input.h"
#include "text/error.h"
#include "text/notifier.h"

namespace {

class SilentNotifier final : public orvane::text::Notifier {
public:
    void notify(const std::string&) override {}
    bool confirm(const std::string&) override { return true; }
};

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
    orvane::fuzz::writeScratch("elem.txt", parts[0]);
    orvane::fuzz::writeScratch("abundances.txt", parts[1]);
    orvane::fuzz::writeScratch("masses.txt", parts[2]);
    const std::string folder = orvane::fuzz::scratchFolder().string();
    orvane::data::DataTables tables;
    SilentNotifier notifier;
    try {
        orvane::data::loadElementFile(folder, tables, notifier);
        orvane::data::loadAbundanceFile(folder, tables, notifier);
        orvane::data::loadMassFile(folder, tables);
    } catch (const orvane::text::Error&) {
        return 0;
    }
    for (int column = 1; column <= tables.elementCount; ++column) {
        try {
            orvane::accurate::readElementIsotopes(tables, column, '.');
        } catch (const orvane::text::Error&) {
        }
    }
    return 0;
}
