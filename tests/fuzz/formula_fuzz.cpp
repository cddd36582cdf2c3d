// Formulas as typed: every text is read or refused with text::Error, nothing else.

#include "formula/formula_reader.h"
#include "fuzz_input.h"
#include "text/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::string> symbols{"",  "H",  "He", "C",  "N",  "O", "Na",
                                                  "S", "Cl", "Co", "Cu", "Sn", "I"};
    const std::string text = orvane::fuzz::textOf(data, size);
    for (const char separator : {'.', ','}) {
        try {
            orvane::formula::readFormula(text, symbols, separator);
        } catch (const orvane::text::Error&) {
        }
    }
    return 0;
}
