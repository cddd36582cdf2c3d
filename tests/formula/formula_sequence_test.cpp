#include "formula/formula_reader.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/element_file.h"
#include "formula/element_symbols.h"
#include "formula/formula_test_support.h"
#include "support/recording_notifier.h"
#include "text/error.h"

namespace orvane::formula {
namespace {

// The small table of the other formula tests has no P and no Se; C H N O S weigh as the
// standard atomic weights there.
ElementWeights smallTableWeights() {
    ElementWeights weights(support::symbols.size());
    const std::pair<int, long double> known[] = {
        {1, 1.008L}, {5, 12.011L}, {6, 14.007L}, {7, 15.999L}, {11, 32.06L}};
    for (const auto& [column, weight] : known) {
        weights[static_cast<std::size_t>(column)] = weight;
    }
    return weights;
}

std::string refusal(const std::string& formula, const ElementWeights& weights) {
    try {
        readFormula(formula, support::symbols, '.', support::massNumbers, {}, weights);
    } catch (const text::Error& error) {
        return error.what();
    }
    return "";
}

TEST(FormulaSequence, RefusesNamingThePosition) {
    struct Case {
        std::string formula;
        std::string detail; // after `Formula "<formula>": `
    };
    const Case cases[] = {
        {"Hpeptide(AC", "the bracket \"(\" at position 9 is never closed."},
        {"peptide(M[+15.9949])", "the modification \"+15.9949\" at position 10 gives a mass, no "
                                 "atoms: name it (\"Oxidation\", \"UNIMOD:35\") or write its "
                                 "formula (\"Formula:O\")."},
        {"H2O·peptide(UK)",
         "the sequence at position 5 holds Se, which the element table does not have."},
        {"dna(AC)", "the sequence at position 1 holds P, which the element table does not have."},
        {"rna(ACTG)", "the character \"T\" at position 7 is no base of RNA (RNA takes A, C, G "
                      "and U; T is DNA's)."},
        {"peptide(<18N>G)", "the sequence at position 1 holds [18N], no known isotope of N."},
        {"peptide(G/2)peptide(G/3)", "the charge /3 of the sequence at position 13 differs from "
                                     "the charge /2 before it."},
        {"peptide (G)", "unknown element symbol \"peptide\" at position 1."},
        {"0peptide(G)", "the formula has no atoms."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(refusal(c.formula, smallTableWeights()),
                  "Formula \"" + c.formula + "\": " + c.detail);
    }
    EXPECT_NE(refusal("averagine(1000)", {}).find("needs the weights of C, H, N, O and S"),
              std::string::npos);
}

TEST(FormulaSequence, CombinesWithTheRestOfTheGrammar) {
    struct Case {
        std::string formula;
        // counts of H, C, N, O, Na, S by the small table's columns 1, 5, 6, 7, 9, 11
        std::vector<std::pair<int, int>> counts;
        int charge = 0;
    };
    // PEPTIDE is C34H53N7O15, ACK C12H24N4O4S (residues summed by hand with H2O).
    const Case cases[] = {
        {"peptide(PEPTIDE)", {{1, 53}, {5, 34}, {6, 7}, {7, 15}}},
        {"peptide(PEPTIDE)Na", {{1, 53}, {5, 34}, {6, 7}, {7, 15}, {9, 1}}},
        {"2peptide(ACK)", {{1, 48}, {5, 24}, {6, 8}, {7, 8}, {11, 2}}},
        {"peptide(ACK)2", {{1, 48}, {5, 24}, {6, 8}, {7, 8}, {11, 2}}},
        {"peptide(ACK)·H2O", {{1, 26}, {5, 12}, {6, 4}, {7, 5}, {11, 1}}},
        {"(peptide(ACK)H)3", {{1, 75}, {5, 36}, {6, 12}, {7, 12}, {11, 3}}},
        {"peptide(ACK/2)", {{1, 24}, {5, 12}, {6, 4}, {7, 4}, {11, 1}}, 2},
        // dA, no phosphate
        {"dna(A)", {{1, 13}, {5, 10}, {6, 5}, {7, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const FormulaCounts read = readFormula(c.formula, support::symbols, '.',
                                               support::massNumbers, {}, smallTableWeights());
        ASSERT_EQ(read.counts.size(), c.counts.size());
        for (const auto& [column, count] : c.counts) {
            EXPECT_EQ(read.countOf(column), count) << support::symbols[column];
        }
        EXPECT_EQ(read.charge.value_or(0), c.charge);
    }
}

TEST(FormulaSequence, GlobalLabelsAndLabelledModificationsBecomeLabels) {
    struct Case {
        std::string formula;
        const char* written; // the Formula box's text, labels after their element
    };
    // G is C2H5NO2; K[Formula:[13C2]H-2] takes two H and adds two 13C to K's C6H14N2O2
    const Case cases[] = {
        {"peptide(<15N>G)", "H5C2[15N]1O2"},
        {"peptide(<13C>G)", "H5[13C]2N1O2"},
        {"peptide(<D>G)", "[2H]5C2N1O2"},
        {"peptide(<13C><15N>G)", "H5[13C]2[15N]1O2"},
        {"peptide(K[Formula:[13C2]H-2])", "H12C6[13C]2N2O2"},
        {"[13C]2peptide(<15N>G)", "H5C2[13C]2[15N]1O2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const FormulaCounts read = readFormula(c.formula, support::symbols, '.',
                                               support::massNumbers, {}, smallTableWeights());
        EXPECT_EQ(tableOrderText(read, support::symbols), c.written);
    }
}

TEST(FormulaSequence, ReadsAveragineByTheTableWeights) {
    data::DataTables tables;
    testing_support::RecordingNotifier notifier;
    ASSERT_TRUE(data::loadElementFile(ORVANE_SHARE_DIR, tables, notifier));
    const std::vector<std::string> shipped = symbolsOf(tables.elements);
    const ElementWeights weights = weightsOf(tables.elements, '.');
    for (const char* formula : {"averagine(25000)", "averagine(8564.8)"}) {
        SCOPED_TRACE(formula);
        const FormulaCounts read = readFormula(formula, shipped, '.', {}, {}, weights);
        long double mass = 0;
        long double hydrogen = 0;
        for (const ElementCount& entry : read.counts) {
            const long double weight = *weights[static_cast<std::size_t>(entry.column)];
            mass += entry.count * weight;
            if (shipped[static_cast<std::size_t>(entry.column)] == "H") {
                hydrogen = weight;
            }
        }
        const long double target = std::stold(std::string(formula).substr(10));
        EXPECT_LE(std::fabs(static_cast<double>(mass - target)), static_cast<double>(hydrogen / 2));
    }
}

} // namespace
} // namespace orvane::formula
