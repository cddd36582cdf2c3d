// Ion notations with a molecule: read, counted or refused with text::Error.

#include "formula/ion_notation.h"
#include "fuzz_input.h"
#include "text/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::string> symbols{"", "H", "C", "N", "O", "Na", "K", "Cl"};
    static const std::vector<long long> molecule{0, 12, 6, 1, 6, 0, 0, 2};
    try {
        const orvane::formula::IonNotation ion =
            orvane::formula::readIonNotation(orvane::fuzz::textOf(data, size), symbols, '.');
        orvane::formula::ionAtomCounts(ion, molecule, symbols);
    } catch (const orvane::text::Error&) {
    }
    return 0;
}
