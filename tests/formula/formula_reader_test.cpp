#include "formula/formula_reader.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "data/element_file.h"
#include "formula/element_symbols.h"
#include "formula/formula_test_support.h"
#include "support/recording_notifier.h"
#include "text/error.h"

namespace orvane::formula {
namespace {

using support::massNumbers;
using support::symbols;

// What readFormula raises for the text, or "" when it reads it.
std::string refusal(std::string_view formula, char separator) {
    try {
        readFormula(formula, symbols, separator, massNumbers);
    } catch (const text::Error& error) {
        return error.what();
    }
    return "";
}

TEST(FormulaReader, RefusesNamingTheCharacterPosition) {
    struct Case {
        const char* formula;
        char separator;
        const char* detail; // after `Formula "<formula>": `
    };
    const Case cases[] = {
        {"", '.', "there is no formula to read."},
        {" \t", '.', "there is no formula to read."},
        {"Q", '.', "unknown element symbol \"Q\" at position 1."},
        {"CXy2", '.', "unknown element symbol \"Xy\" at position 2."},
        {"c6h6", '.', "unknown element symbol \"c\" at position 1."},
        {"H2O·Xy", '.', "unknown element symbol \"Xy\" at position 5."}, // "·" is one character
        {"Ca(OH", '.', "the bracket \"(\" at position 3 is never closed."},
        {"Ca)2", '.', "the bracket \")\" at position 3 closes nothing."},
        {"()", '.', "the bracket \"(\" at position 1 holds no formula."},
        {"[(])", '.', "the bracket \"]\" at position 3 does not close \"(\" at position 2."},
        {"H2O·", '.', "the separator \"·\" at position 4 is not followed by a formula."},
        {"(H2O*)", '.', "the separator \"*\" at position 5 is not followed by a formula."},
        {"·H2O", '.', "the separator \"·\" at position 1 is not preceded by a formula."},
        {"H2..O", '.',
         "nothing stands between the separator at position 3 and the one at position 4."},
        {"2", '.', "the multiplier \"2\" at position 1 is not followed by a formula."},
        // a mass number that missed its symbol is told how a label is written
        {"[13]C6", '.',
         "the multiplier \"13\" at position 2 is not followed by a formula; an isotope label "
         "holds its element's symbol inside the brackets, as [13C]6."},
        {"C[13]6", '.',
         "the multiplier \"13\" at position 3 is not followed by a formula; an isotope label "
         "holds its element's symbol inside the brackets, as [13C]6."},
        {"(15)N2", '.',
         "the multiplier \"15\" at position 2 is not followed by a formula; an isotope label "
         "holds its element's symbol inside the brackets, as [13C]6."},
        {"H2O•0,5", ',', "the multiplier \"0,5\" at position 5 is not followed by a formula."},
        {"C2 3", '.',
         "the number \"3\" at position 4 stands where an element symbol or a bracket is expected."},
        {"+", '.', "the sign \"+\" at position 1 has no place in a formula."},
        {"C6H5-", '.', "the sign \"-\" at position 5 has no place in a formula."},
        {"C1.2.3", '.',
         "the number \"1.2\" at position 2 has a second decimal point at position 5."},
        {"C2,5", '.', "the character \",\" at position 3 has no place in a formula."},
        {"C,5", ',', "the decimal point \",\" at position 2 stands outside a number."},
        {"CuSO4·5H2O€", '.', "the character \"€\" at position 11 has no place in a formula."},
        {"H2O\n", '.', "the control character U+000A at position 4 has no place in a formula."},
        {"0H2O", '.', "the formula has no atoms."},
        {"C0", '.', "the formula has no atoms."},
        {"(C0H0)3", '.', "the formula has no atoms."},
        // isotope labels: known mass numbers only, square brackets, purities in percent
        {"[99C]H4", '.',
         "the label \"[99C]\" at position 1 names no known isotope of C (mass numbers 12 to "
         "13)."},
        {"H2[1234567O]", '.',
         "the label \"[1234567O]\" at position 3 names no known isotope of O (mass numbers 16 "
         "to 18)."},
        {"[13X]H4", '.', "unknown element symbol \"X\" at position 4."},
        {"C5{15N}H3", '.',
         "the label \"{15N}\" at position 3: write isotope labels in square brackets, as "
         "[13C]."},
        {"(13C)H4", '.',
         "the label \"(13C)\" at position 1: write isotope labels in square brackets, as "
         "[13C]."},
        {"[13C]6{99}H12O6", '.',
         "the purity at position 7 is to be a percentage in braces, such as {99%}."},
        {"[13C]6{H2}", '.',
         "the purity at position 7 is to be a percentage in braces, such as {99%}."},
        {"[13C]{101%}", '.', "the purity \"101\"% at position 6 is to be above 0 and at most 100."},
        {"D{0%}", '.', "the purity \"0\"% at position 2 is to be above 0 and at most 100."},
        {"[13C]0", '.', "the formula has no atoms."},
        {"[13C1.2.3]", '.',
         "the number \"1.2\" at position 5 has a second decimal point at "
         "position 8."},
        // a leading number that is also a mass number of the element right after it
        {"13CH4", '.',
         "the number \"13\" at position 1 is also a mass number of C: write \"[13C]H4\" for "
         "the isotope or \"13(CH4)\" for 13 times the rest."},
        {"2H2O", '.',
         "the number \"2\" at position 1 is also a mass number of H: write \"[2H]2O\" for the "
         "isotope or \"2(H2O)\" for 2 times the rest."},
        {"15NH3·H2O", '.',
         "the number \"15\" at position 1 is also a mass number of N: write \"[15N]H3·H2O\" "
         "for the isotope or \"15(NH3)·H2O\" for 15 times the rest."},
        {"Fe(2H2O)3", '.',
         "the number \"2\" at position 4 is also a mass number of H: write \"Fe([2H]2O)3\" "
         "for the isotope or \"Fe(2(H2O))3\" for 2 times the rest."},
        // a single element after the number: a decimal count as likely as a hydrate part
        {"C2.5H6", '.',
         "the point at position 3 can be read two ways: as a hydrate separator (\"C2·5H6\") "
         "or as a decimal point (the count \"2.5\")."},
        {"C0.1C0.2", '.',
         "the point at position 3 can be read two ways: as a hydrate separator "
         "(\"C0·1C0.2\") or as a decimal point (the count \"0.1\")."},
        {"C4.5H7.2O2.1", '.',
         "the point at position 7 can be read two ways: as a hydrate separator "
         "(\"C4.5H7·2O2.1\") or as a decimal point (the count \"7.2\")."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(refusal(c.formula, c.separator),
                  std::string("Formula \"") + c.formula + "\": " + c.detail);
    }
    // long texts are quoted cut to 200 bytes, at a whole character
    const std::string huge = "C1" + std::string(5000, '0');
    EXPECT_EQ(refusal(huge, '.'), "Formula \"" + huge.substr(0, 200) + "…\": the number \"" +
                                      huge.substr(1, 200) +
                                      "…\" at position 2 is beyond the range of numbers.");
    const std::string product = "(C1" + std::string(4000, '0') + ")1" + std::string(4000, '0');
    EXPECT_EQ(refusal(product, '.'), "Formula \"" + product.substr(0, 200) +
                                         "…\": the count of \"C\" is beyond the range of numbers.");
    const std::string wide = std::string(199, 'C') + "·H";
    const std::string cutAtTheDot = "Formula \"" + wide.substr(0, 199) + "…\": ";
    EXPECT_EQ(refusal(wide + "Q", '.').substr(0, cutAtTheDot.size()), cutAtTheDot);
    EXPECT_EQ(refusal(std::string("H2\0O", 4), '.'),
              "Formula \"H2\\0O\": the control character U+0000 at position 3 has no place in a "
              "formula.");
}

TEST(FormulaReader, CountsPerColumnInTableOrder) {
    struct Case {
        const char* formula;
        char separator;
        std::vector<std::pair<const char*, text::Extended>> counts; // in column order
    };
    const Case cases[] = {
        {"C6H12O6", '.', {{"H", 12}, {"C", 6}, {"O", 6}}},
        {"Co", '.', {{"Co", 1}}},
        {"CO", '.', {{"C", 1}, {"O", 1}}},
        {"SnS", '.', {{"S", 1}, {"Sn", 1}}},
        {"HeH", '.', {{"H", 1}, {"He", 1}}},
        {"CH3CH2OH", '.', {{"H", 6}, {"C", 2}, {"O", 1}}},
        {"C2.5", '.', {{"C", 2.5L}}},
        {"C2,5", ',', {{"C", 2.5L}}},
        {"C2.5", ',', {{"C", 2.5L}}},
        {"Ca(OH)2", '.', {{"H", 2}, {"O", 2}, {"Ca", 1}}},
        {"[Cu(NH3)4]SO4", '.', {{"H", 12}, {"N", 4}, {"O", 4}, {"S", 1}, {"Cu", 1}}},
        {"K4[Fe(CN)6]", '.', {{"C", 6}, {"N", 6}, {"K", 4}, {"Fe", 1}}},
        {"{[(H)2]3}4", '.', {{"H", 24}}},
        {"CuSO4·5H2O", '.', {{"H", 10}, {"O", 9}, {"S", 1}, {"Cu", 1}}},
        {"CuSO4•5H2O", '.', {{"H", 10}, {"O", 9}, {"S", 1}, {"Cu", 1}}},
        {"Na2CO3*10H2O", '.', {{"H", 20}, {"C", 1}, {"O", 13}, {"Na", 2}}},
        {"C6H12O6.H2O", '.', {{"H", 14}, {"C", 6}, {"O", 7}}},
        // a blank after a leading number: a multiplier, never a mass number
        {"2 H2O", '.', {{"H", 4}, {"O", 2}}},
        // after a separator a number is a multiplier even where it is a mass number
        {"H2O·2H2O", '.', {{"H", 6}, {"O", 3}}},
        {"CuSO4*13CH4", '.', {{"H", 52}, {"C", 13}, {"O", 4}, {"S", 1}, {"Cu", 1}}},
        // 14 is no mass number of C in the table
        {"14CH4", '.', {{"H", 56}, {"C", 14}}},
        // a point after a count and before a number and an element or bracket: a hydrate
        {"CuSO4.5H2O", '.', {{"H", 10}, {"O", 9}, {"S", 1}, {"Cu", 1}}},
        {"FeCl3.6H2O", '.', {{"H", 12}, {"O", 6}, {"Cl", 3}, {"Fe", 1}}},
        {"CaCl2.2H2O", '.', {{"H", 4}, {"O", 2}, {"Cl", 2}, {"Ca", 1}}},
        {"Na2SO4.10H2O", '.', {{"H", 20}, {"O", 14}, {"Na", 2}, {"S", 1}}},
        {"KAl(SO4)2.12H2O", '.', {{"H", 24}, {"O", 20}, {"S", 2}, {"K", 1}, {"Al", 1}}},
        {"Cu(NH3)4.(H2O)2", '.', {{"H", 16}, {"N", 4}, {"O", 2}, {"Cu", 1}}},
        // nothing that starts a part after it: a decimal point
        {"C0.3", '.', {{"C", 0.3L}}},
        {"C2.5 ·H2O", '.', {{"H", 2}, {"C", 2.5L}, {"O", 1}}},
        {"C2.5 H6", '.', {{"H", 6}, {"C", 2.5L}}},
        {"CuSO4.5 H2O", '.', {{"H", 2}, {"O", 5.5L}, {"S", 1}, {"Cu", 1}}},
        {"C2.5*H2O", '.', {{"H", 2}, {"C", 2.5L}, {"O", 1}}},
        {"(CH2.5)2", '.', {{"H", 5}, {"C", 2}}},
        {"2.5H2O", '.', {{"H", 5}, {"O", 2.5L}}}, // a leading multiplier ends no part
        // the locale's comma is only ever a decimal point: O4,5, then H2O
        {"CuSO4,5H2O", ',', {{"H", 2}, {"O", 5.5L}, {"S", 1}, {"Cu", 1}}},
        {"0.5H2O·1,5Na", ',', {{"H", 1}, {"O", 0.5L}, {"Na", 1.5L}}},
        {"(H2O·2NH3)2", '.', {{"H", 16}, {"N", 4}, {"O", 2}}},
        {" C 6 H\t12 ( O H ) 2 ", '.', {{"H", 14}, {"C", 6}, {"O", 2}}},
        {"C0H4", '.', {{"H", 4}, {"C", 0}}},
        // whole counts of up to 18 digits are summed digit by digit, longer ones converted
        {"C0006H012", '.', {{"H", 12}, {"C", 6}}},
        {"C123456789012345678", '.', {{"C", 123456789012345678.0L}}},
        {"C1234567890123456789", '.', {{"C", 1234567890123456789.0L}}},
    };
    // the same with an index of the symbols by first byte
    const SymbolIndex index(symbols);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        for (const SymbolIndex* given : {static_cast<const SymbolIndex*>(nullptr), &index}) {
            const FormulaCounts read =
                readFormula(c.formula, symbols, c.separator, massNumbers, {}, {}, given);
            ASSERT_EQ(read.counts.size(), c.counts.size());
            for (std::size_t i = 0; i < c.counts.size(); ++i) {
                EXPECT_EQ(symbols[static_cast<std::size_t>(read.counts[i].column)],
                          c.counts[i].first);
                EXPECT_EQ(read.counts[i].count, c.counts[i].second);
            }
        }
    }
}

TEST(FormulaReader, SumsAndMultipliesInExtendedPrecision) {
    // the long double sum 0.1L + 0.2L, not the double 0.30000000000000004 (with the
    // comma, which never separates a hydrate part as "C0.1C0.2" does)
    const FormulaCounts sum = readFormula("C0,1C0,2", symbols, ',');
    EXPECT_EQ(sum.countOf(5), 0.1L + 0.2L);
    EXPECT_EQ(sum.counts[0].countText, "0,3");
    const FormulaCounts product = readFormula("(C0,1)3", symbols, ',');
    EXPECT_EQ(product.countOf(5), 0.1L * 3);
    EXPECT_EQ(product.counts[0].countText, "0,3");
    EXPECT_EQ(product.countOf(1), 0);
}

TEST(FormulaReader, WritesTheFormulaAsTheFormulaBoxDoes) {
    // zero counts are read but not written, as the box lists counts above 0
    const FormulaCounts read = readFormula("C0H4O0,5Na", symbols, ',');
    EXPECT_EQ(read.counts.size(), 4u);
    EXPECT_EQ(tableOrderText(read, symbols), "H4O0,5Na1");
}

TEST(FormulaReader, NestsToAnyDepth) {
    // the brackets are not held on the call stack
    const std::string deep = std::string(100000, '(') + "H2" + std::string(100000, ')');
    EXPECT_EQ(readFormula(deep, symbols, '.').countOf(1), 2);
}

TEST(FormulaReader, TakesTheFirstOfEqualSymbolsAndNeverAnEmptyOne) {
    const std::vector<std::string> table{"", "", "C", "Cl", "C"};
    const SymbolIndex index(table);
    const SymbolIndex ofAnotherTable(std::vector<std::string>{"", "Cl"});
    for (const SymbolIndex* given :
         {static_cast<const SymbolIndex*>(nullptr), &index, &ofAnotherTable}) {
        const FormulaCounts read = readFormula("CClC", table, '.', {}, {}, {}, given);
        ASSERT_EQ(read.counts.size(), 2u);
        EXPECT_EQ(read.countOf(2), 2);
        EXPECT_EQ(read.countOf(3), 1);
    }
}

TEST(FormulaReader, ReadsWithTheShippedElementTable) {
    data::DataTables tables;
    testing_support::RecordingNotifier notifier;
    ASSERT_TRUE(data::loadElementFile(ORVANE_SHARE_DIR, tables, notifier));
    tables.elements.setCell(3, data::SymbolRow, " Li\t"); // symbols are read trimmed
    const std::vector<std::string> shipped = symbolsOf(tables.elements);
    ASSERT_EQ(shipped.size(), static_cast<std::size_t>(tables.elements.columnCount()));
    EXPECT_EQ(shipped[0], "");
    EXPECT_EQ(tableOrderText(readFormula("C6H12O6", shipped, '.'), shipped), "H12C6O6");
    EXPECT_EQ(tableOrderText(readFormula("[Cu(NH3)4]SO4·H2O", shipped, '.'), shipped),
              "H14N4O5S1Cu1");
    EXPECT_EQ(tableOrderText(readFormula("LiCoO2", shipped, '.'), shipped), "Li1O2Co1");
}

TEST(FormulaReader, ReadsIsotopeLabelsBesideTheirElements) {
    // 14C and 3H are known beyond the natural isotopes, as isotopes.txt makes them
    MassNumbers known = massNumbers;
    known[1].push_back(3);
    known[5].push_back(14);
    struct Case {
        const char* formula;
        const char* written; // the Formula box's text: each label after its element
    };
    const Case cases[] = {
        {"[13C]6H12O6", "H12[13C]6O6"},
        {"[13C6]H12O6", "H12[13C]6O6"},
        {"C5[13C]H12O6", "H12C5[13C]1O6"},
        {"[13C]H12O6C5", "H12C5[13C]1O6"},
        {"D2O", "[2H]2O1"},
        {"CD3OD", "[2H]4C1O1"},
        {"T2O", "[3H]2O1"},
        {"[15N]H4Cl", "H4[15N]1Cl1"},
        {"H2[18O]", "H2[18O]1"},
        {"[13C]6{99%}H12O6", "H12[13C]{99%}6O6"},
        {"[13C]6 {99.5%}", "[13C]{99.5%}6"},
        {"[13C]{99.5%}6", "[13C]{99.5%}6"},
        {"[13C]2[13C]{99%}3[13C]", "[13C]3[13C]{99%}3"},
        {"([13C]H3)2", "H6[13C]2"},
        {"[13C2]3", "[13C]6"},
        {"CH3[14C]H3", "H6C1[14C]1"},
        {"D2O·2T2O", "[2H]2[3H]4O3"},
        {"[2H]2O", "[2H]2O1"},
        // a multiplier after a separator stays one, a leading mass number still is refused
        {"CuSO4*13CH4", "H52C13O4S1Cu1"},
        // Co, Cl and Ca are no labels: only a bracket or D and T make one
        {"CoCl2", "Cl2Co1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const FormulaCounts read = readFormula(c.formula, symbols, '.', massNumbers, known);
        EXPECT_EQ(tableOrderText(read, symbols), c.written);
    }
    const FormulaCounts pure = readFormula("[13C]6{99%}H12O6", symbols, '.', massNumbers);
    ASSERT_EQ(pure.labels.size(), 1u);
    EXPECT_EQ(pure.labels[0].column, 5);
    EXPECT_EQ(pure.labels[0].massNumber, 13);
    EXPECT_EQ(pure.labels[0].purity, 0.99);
    EXPECT_EQ(pure.labels[0].count, 6);
    EXPECT_EQ(pure.countOf(5), 0); // the count cell keeps the unlabelled atoms
    // without a label list the natural mass numbers decide: 14C is then unknown
    EXPECT_THROW(readFormula("[14C]H4", symbols, '.', massNumbers), text::Error);
}

} // namespace
} // namespace orvane::formula
