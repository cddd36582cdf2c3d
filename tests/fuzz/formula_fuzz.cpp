// Formulas as typed, isotope labels and sequences among them: every text is read or
// refused with text::Error, nothing else.

#include "formula/formula_reader.h"
#include "fuzz_input.h"
#include "text/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::string> symbols{"",  "H",  "He", "C",  "N",  "O", "Na",
                                                  "S", "Cl", "Co", "Cu", "Sn", "I",  "P", "Se"};
    // the natural mass numbers, and those labels may name beyond them
    static const orvane::formula::MassNumbers natural{
        {}, {1, 2}, {3, 4}, {12, 13}, {14, 15}, {16, 17, 18}, {23}, {32, 33, 34, 36}, {35, 37},
        {59}, {63, 65}, {112, 114, 116, 118, 120}, {127}, {31}, {74, 76, 77, 78, 80, 82}};
    static const orvane::formula::MassNumbers labels = [] {
        orvane::formula::MassNumbers known = natural;
        known[1].push_back(3);
        known[3].push_back(14);
        known[12].push_back(125);
        return known;
    }();
    static const orvane::formula::ElementWeights weights{
        {}, 1.008L, 4.0026L, 12.011L, 14.007L, 15.999L, 22.99L, 32.06L, 35.45L,
        58.933L, 63.546L, 118.71L, 126.90L, 30.974L, 78.971L};
    const std::string text = orvane::fuzz::textOf(data, size);
    for (const char separator : {'.', ','}) {
        try {
            orvane::formula::readFormula(text, symbols, separator, natural, labels, weights);
        } catch (const orvane::text::Error&) {
        }
    }
    return 0;
}
