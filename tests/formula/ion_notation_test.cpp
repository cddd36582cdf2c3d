#include "formula/ion_notation.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formula/formula_reader.h"
#include "formula/formula_test_support.h"
#include "text/error.h"

namespace orvane::formula {
namespace {

using support::symbols;

// Whole atom counts by column of a formula of the small table.
std::vector<long long> atoms(const char* formula) {
    std::vector<long long> counts(symbols.size());
    for (const ElementCount& entry : readFormula(formula, symbols, '.').counts) {
        counts[static_cast<std::size_t>(entry.column)] = static_cast<long long>(entry.count);
    }
    return counts;
}

template <typename Read> std::string refusal(Read read) {
    try {
        read();
    } catch (const text::Error& error) {
        return error.what();
    }
    return "";
}

TEST(IonNotation, RefusesNamingTheCharacterPosition) {
    struct Case {
        const char* notation;
        const char* detail; // after `Ion notation "<notation>": `
    };
    const Case cases[] = {
        {"M+H", "\"[\" is expected at position 1, as in \"[M+H]+\"."},
        {"[+H]+", "\"M\" for the molecule is expected at position 2."},
        {"[0M+H]+", "the multiplier \"0\" at position 2 must be at least 1."},
        {"[1.5M]+", "the multiplier \"1.5\" at position 2 is not a whole number."},
        {"[M+0H]+", "the multiplier \"0\" at position 4 must be at least 1."},
        {"[MH]+", "\"+\", \"-\" or \"]\" is expected at position 3."},
        {"[M+H", "the bracket \"[\" at position 1 is never closed."},
        {"[M+H]", "the charge sign \"+\" or \"-\" is expected at position 6."},
        {"[M+H]0+", "the charge \"0\" at position 6 must be at least 1."},
        {"[M+H]+2", "the character \"2\" at position 7 follows the charge; the number goes before "
                    "the sign, as in \"2+\"."},
        {"[M+H]+·", "the character \"·\" at position 7 follows the charge."},
        {"[M·+Xy]+", "\"+\", \"-\" or \"]\" is expected at position 3."},
        {"[M+Xy]+", "unknown element symbol \"Xy\" at position 4."},
        {"[M+]+", "an element symbol or a bracket is expected at position 4."},
        {"[M+2 3H]+", "the number \"3\" at position 6 stands where an element symbol or a bracket "
                      "is expected."},
        {"[M+H2O·H]+", "the separator \"·\" at position 7 cannot stand in an adduct."},
        {"[M+H0.5]+", "the number \"0.5\" at position 5 must be whole in an adduct."},
        {"[M+Na(H2O]+", "the bracket \"(\" at position 6 is never closed."},
        {"[M+[Na]]+", "the bracket \"[\" at position 4 cannot stand in an adduct, only round "
                      "brackets can."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notation);
        EXPECT_EQ(refusal([&] { readIonNotation(c.notation, symbols, '.'); }),
                  std::string("Ion notation \"") + c.notation + "\": " + c.detail);
    }
}

TEST(IonNotation, ReadsMultiplierTermsAndCharge) {
    struct Term {
        int sign;
        int multiplier;
        const char* formula;
        const char* atoms; // table order
    };
    struct Case {
        const char* notation;
        int k;
        std::vector<Term> terms;
        int charge;
    };
    const Case cases[] = {
        {"[M+H]+", 1, {{1, 1, "H", "H1"}}, 1},
        {"[M+2H]2+", 1, {{1, 2, "H", "H2"}}, 2},
        {"[M+3H]3+", 1, {{1, 3, "H", "H3"}}, 3},
        {"[M-H]-", 1, {{-1, 1, "H", "H1"}}, -1},
        {"[M-2H]2-", 1, {{-1, 2, "H", "H2"}}, -2},
        {"[M+Na]+", 1, {{1, 1, "Na", "Na1"}}, 1},
        {"[M+K]+", 1, {{1, 1, "K", "K1"}}, 1},
        {"[M+NH4]+", 1, {{1, 1, "NH4", "H4N1"}}, 1},
        {"[M+Cl]-", 1, {{1, 1, "Cl", "Cl1"}}, -1},
        {"[M+CH3COO]-", 1, {{1, 1, "CH3COO", "H3C2O2"}}, -1},
        {"[M-H2O+H]+", 1, {{-1, 1, "H2O", "H2O1"}, {1, 1, "H", "H1"}}, 1},
        {"[2M+Na]+", 2, {{1, 1, "Na", "Na1"}}, 1},
        {"[M]+", 1, {}, 1},
        {"[M]-", 1, {}, -1},
        {" [ 2 M + 2 Na(OH)2 - H ] 12 + ",
         2,
         {{1, 2, "Na(OH)2", "H4O4Na2"}, {-1, 1, "H", "H1"}},
         12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notation);
        const IonNotation ion = readIonNotation(c.notation, symbols, '.');
        EXPECT_EQ(ion.text, c.notation);
        EXPECT_EQ(ion.moleculeMultiplier, c.k);
        EXPECT_EQ(ion.charge, c.charge);
        ASSERT_EQ(ion.terms.size(), c.terms.size());
        for (std::size_t i = 0; i < c.terms.size(); ++i) {
            EXPECT_EQ(ion.terms[i].sign, c.terms[i].sign);
            EXPECT_EQ(ion.terms[i].multiplier, c.terms[i].multiplier);
            EXPECT_EQ(ion.terms[i].formula, c.terms[i].formula);
            EXPECT_EQ(tableOrderText(ion.terms[i].counts, symbols), c.terms[i].atoms);
        }
    }
}

TEST(IonNotation, AtomsOfTheIon) {
    const auto ionAtoms = [](const char* notation, const char* molecule) {
        return ionAtomCounts(readIonNotation(notation, symbols, '.'), atoms(molecule), symbols);
    };
    EXPECT_EQ(ionAtoms("[M-H2O+H]+", "CH4O"), atoms("CH3O0"));
    EXPECT_EQ(ionAtoms("[2M+Na]+", "C6H12O6"), atoms("C12H24O12Na"));
    EXPECT_EQ(ionAtoms("[M-H+H]+", "C"), atoms("C")); // the net count is what must not go below 0
    EXPECT_EQ(ionAtoms("[M]-", "H2O"), atoms("H2O"));

    EXPECT_EQ(refusal([&] { ionAtoms("[M-H2O+H]+", "CH4"); }),
              "Ion notation \"[M-H2O+H]+\": it takes away 1 O but M and the added atoms give "
              "only 0.");
    EXPECT_EQ(refusal([&] { ionAtoms("[2M-3H]-", "H"); }),
              "Ion notation \"[2M-3H]-\": it takes away 3 H but 2M and the added atoms give only "
              "2.");
    IonNotation half = readIonNotation("[M+2H]2+", symbols, '.');
    half.terms[0].counts.counts[0].count = 1.5L; // only a notation made in code can hold this
    EXPECT_EQ(refusal([&] { ionAtomCounts(half, atoms("C"), symbols); }),
              "Ion notation \"[M+2H]2+\": the term \"+2H\" does not give a whole number of H "
              "atoms.");
    std::vector<long long> many = atoms("C");
    many[5] = LLONG_MAX / 2 + 1;
    EXPECT_EQ(
        refusal([&] { ionAtomCounts(readIonNotation("[2M]+", symbols, '.'), many, symbols); }),
        "Ion notation \"[2M]+\": the ion's count of C is too large.");
}

} // namespace
} // namespace orvane::formula

namespace orvane::formula {
namespace {

TEST(IonNotation, ARadicalMarkerAfterTheChargeMakesAnOddElectronIon) {
    const struct {
        const char* notation;
        int charge;
        bool radical;
        const char* written;
    } cases[] = {
        {"[M]+", 1, false, "[M]+"},       {"[M]+.", 1, true, "[M]+."},
        {"[M]+\u2022", 1, true, "[M]+."}, {"[M] + .", 1, true, "[M]+."},
        {"[M]2-.", -2, true, "[M]2-."},   {"[M+H]+", 1, false, "[M+H]+"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notation);
        const IonNotation ion = readIonNotation(c.notation, symbols, '.');
        EXPECT_EQ(ion.charge, c.charge);
        EXPECT_EQ(ion.radical, c.radical);
        EXPECT_EQ(writtenIon(
                      ion,
                      [](const AdductTerm& term) {
                          return term.multiplier == 1 ? std::string()
                                                      : std::to_string(term.multiplier);
                      },
                      ion.charge),
                  c.written);
    }
    EXPECT_THROW(readIonNotation("[M]+..", symbols, '.'), text::Error);
    EXPECT_THROW(readIonNotation("[M].+", symbols, '.'), text::Error);
}

} // namespace
} // namespace orvane::formula
