#include "sequence/sequence_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sequence/sequence_test_support.h"
#include "text/error.h"

namespace orvane::sequence {
namespace {

SequenceReading readWhole(const std::string& formula) {
    const SequenceText text(formula, "Formula");
    return readSequenceAt(text, 0, ',', support::standardWeight);
}

std::string messageOf(const std::string& formula) {
    try {
        readWhole(formula);
    } catch (const text::Error& error) {
        return error.what();
    }
    return "(read)";
}

struct Refusal {
    std::string formula;
    std::string position;
    std::string reason;
};

TEST(SequenceReaderTest, RefusesWithThePosition) {
    const Refusal cases[] = {
        {"peptide(PEPTIDEM[+15.9949])", "position 17", "gives a mass, no atoms"},
        {"peptide(M[Obs:+15.995]K)", "position 10", "gives a mass, no atoms"},
        {"peptide(C[XLMOD:02001#XL1]K)", "position 10", "cross-link"},
        {"peptide(C[Disulfide#XL1]AC#XL1K)", "position 10", "cross-link"},
        {"peptide(AC#XL1K)", "position 11", "cross-link"},
        {"peptide(PEPXIDE)", "position 12", "not one of the 20 amino acids, J, U or O"},
        // a name that begins with a digit is looked up as a name, not read as a mass
        {"peptide(K[2-nothing])", "position 10", "is no Unimod name"},
        {"peptide(M[+15.9949|+16])", "position 10", "\"+15.9949\" at position 10 gives a mass"},
        {"peptide(<[Carbamidomethyl]@N-term:X>ACK)", "position 28", "N-term:A"},
        {"peptide(ACK/-0)", "position 12", "from 1 to 100"},
        {"peptide(PEP1TIDE)", "position 12", "has no place in a peptide"},
        {"peptide(M[Foo]K)", "position 10", "is no Unimod name"},
        {"peptide(M[UNIMOD:999999]K)", "position 10", "is not in Unimod"},
        {"peptide(M[UNIMOD:x]K)", "position 10", "is no Unimod number"},
        {"peptide(M[MOD:00719]K)", "position 10", "is not from Unimod"},
        {"peptide(M[Glycan:Hex]K)", "position 10", "glycan"},
        {"peptide(M[]K)", "position 10", "is empty"},
        {"peptide([Acetyl]ACK)", "position 9", "write \"-\" after it"},
        {"peptide(ACK-)", "position 12", "not followed by a C-terminal"},
        {"peptide([Phospho]?ACK)", "position 9", "give it to a residue"},
        {"peptide(<[Carbamidomethyl]C>ACK)", "position 9", "names no residue"},
        {"peptide(<[Carbamidomethyl]@X>ACK)", "position 28", "no residue letter"},
        {"peptide(<N15>ACK)", "position 9", "neither an isotope"},
        {"peptide(<15N><15N>ACK)", "position 14", "a second time"},
        {"peptide(ACK/0)", "position 12", "from 1 to 100"},
        {"peptide(ACK/2[+2Na+])", "position 14", "[M+zH]z+"},
        {"peptide(G[Formula:H-9])", "position 9", "-4 atoms of H"},
        {"peptide(G[Formula:[13C-2]])", "position 9", "-2 atoms of 13C"},
        {"peptide(G[Formula:h2])", "position 19", "element symbol is expected"},
        {"peptide(G[Formula:[13C]-2])", "position 24", "element symbol is expected"},
        {"peptide(G[Formula:[13C2 H2])", "position 10", "never closed"},
        {"peptide(G[Formula:[13C2 H2]])", "position 19", "never closed"},
        {"peptide(M[Oxidation)", "position 10", "never closed"},
        {"peptide(ACK", "position 8", "never closed"},
        {"peptide()", "position 9", "has no residue"},
        {"dna(ACUG)", "position 7", "U is RNA's"},
        {"rna(ACTG)", "position 7", "T is DNA's"},
        {"dna(AC-G)", "position 7", "no base of DNA"},
        {"dna(ApG)", "position 6", "stands first"},
        {"dna()", "position 5", "has no base"},
        {"averagine()", "position 11", "average mass"},
        {"averagine(-5)", "position 11", "average mass"},
        {"averagine(1.2.3)", "position 11", "average mass"},
        {"averagine(2e10)", "position 11", "average mass"},
        {"averagine(1e)", "position 11", "average mass"},
        {"averagine(e7)", "position 11", "average mass"},
        {"averagine(1e7e2)", "position 11", "average mass"},
    };
    for (const Refusal& refusal : cases) {
        SCOPED_TRACE(refusal.formula);
        const std::string message = messageOf(refusal.formula);
        EXPECT_TRUE(message.starts_with("Formula \"" + refusal.formula + "\": ")) << message;
        EXPECT_NE(message.find(refusal.position), std::string::npos) << message;
        EXPECT_NE(message.find(refusal.reason), std::string::npos) << message;
    }
}

TEST(SequenceReaderTest, RefusesAveragineWithoutTheWeights) {
    const std::string formula = "averagine(5000)";
    const SequenceText text(formula, "Formula");
    const AverageMassLookup noSulfur = [](std::string_view symbol) {
        return symbol == "S" ? std::nullopt : support::standardWeight(symbol);
    };
    EXPECT_THROW(readSequenceAt(text, 0, '.', noSulfur), text::Error);
}

struct Reading {
    std::string formula;
    std::string composition;
    int charge = 0; // 0: none
};

TEST(SequenceReaderTest, ReadsPeptidesAndNucleicAcidsToTheirCompositions) {
    // Residues (amino acid less H2O): G C2H3NO, A C3H5NO, S C3H5NO2, P C5H7NO, T C4H7NO2,
    // C C3H5NOS, I C6H11NO, D C4H5NO3, K C6H12N2O, E C5H7NO3, M C5H9NOS, U C3H5NOSe,
    // O C12H19N3O2; a peptide adds H2O for its termini. Unimod deltas: Oxidation O, Phospho
    // HO3P, Acetyl C2H2O, Amidated HNO-1, Carbamidomethyl C2H3NO.
    // Nucleosides: dA C10H13N5O3, dC C9H13N3O4, dG C10H13N5O4, T C10H14N2O5; A C10H13N5O4,
    // C C9H13N3O5, G C10H13N5O5, U C9H12N2O6. Each phosphodiester adds H3PO4 - 2 H2O =
    // PO2H-1, a 5'-phosphate H3PO4 - H2O = HPO3.
    const Reading cases[] = {
        // P2 E2 T I D + H2O: C10H14N2O2 + C10H14N2O6 + C4H7NO2 + C6H11NO + C4H5NO3 + H2O
        {"peptide(PEPTIDE)", "C34 H53 N7 O15"},
        {"peptide(P E P T I D E)", "C34 H53 N7 O15"},
        {"peptide(peptide)", "C34 H53 N7 O15"},
        // A + C + K + H2O
        {"peptide(ACK)", "C12 H24 N4 O4 S1"},
        // M + K + H2O + O
        {"peptide(M[Oxidation]K)", "C11 H23 N3 O4 S1"},
        // K + H2O, six of its carbons swapped for 13C: the 12C taken are natural carbons
        {"peptide(K[Formula:[13C6][12C-6]])", "H14 N2 O2 [13C]6"},
        {"peptide(AK[Formula:[13C2][12C-2]])", "C7 H19 N3 O3 [13C]2"},
        {"peptide(M[oxidation]K)", "C11 H23 N3 O4 S1"},
        {"peptide(M[U:Oxidation]K)", "C11 H23 N3 O4 S1"},
        // H + K + H2O + C3H4O2
        {"peptide(H[UNIMOD:915]K)", "C15 H25 N5 O5"},
        {"peptide(H[ethoxyformyl]K)", "C15 H25 N5 O5"},
        {"peptide(M[UNIMOD:35]K)", "C11 H23 N3 O4 S1"},
        {"peptide(M[INFO:seen twice|Oxidation]K)", "C11 H23 N3 O4 S1"},
        // S + K + H2O + HO3P
        {"peptide(S[Phospho]K)", "C9 H20 N3 O7 P1"},
        // S + K + H2O + H2O
        {"peptide(S[Formula:H2O]K)", "C9 H21 N3 O5"},
        // G + H2O = C2H5NO2, then [13C]2 and H-2
        {"peptide(G[Formula:[13C2]H-2])", "C2 H3 N1 O2 [13C]2"},
        {"peptide(G[Formula:[13C2] C-2])", "H5 N1 O2 [13C]2"},
        // ACK + C2H2O + HNO-1
        {"peptide([Acetyl]-ACK-[Amidated])", "C14 H27 N5 O4 S1"},
        // G + H2O + C2H2O
        {"peptide([UNIMOD:1]-G)", "C4 H7 N1 O3"},
        // A + 2 C + D + K + H2O = C19H34N6O8S2, and C2H3NO on each C
        {"peptide(<[Carbamidomethyl]@C>ACCDK)", "C23 H40 N8 O10 S2"},
        // and once more on the N-terminus
        {"peptide(<[Carbamidomethyl]@C,N-term>ACCDK)", "C25 H43 N9 O11 S2"},
        {"peptide(<15N>ACK)", "C12 H24 O4 S1 [15N]4"},
        {"peptide(<13C>G)", "H5 N1 O2 [13C]2"},
        {"peptide(<D>G)", "C2 N1 O2 [2H]5"},
        // the natural N of Amidated is labelled too; O-1 stays
        {"peptide(<15N>G-[Amidated])", "C2 H6 O1 [15N]2"},
        {"peptide(ACK/2)", "C12 H24 N4 O4 S1", 2},
        {"peptide(ACK/+2)", "C12 H24 N4 O4 S1", 2},
        {"peptide(ACK/-1)", "C12 H24 N4 O4 S1", -1},
        // J, leucine or isoleucine: PEPTIDE's C34H53N7O15 and C6H11NO
        {"peptide(PEPJTIDE)", "C40 H64 N8 O16"},
        // an INFO tag alone leaves the residue as it is; a mass beside a name takes the name
        {"peptide(M[INFO:oxidised]K)", "C11 H23 N3 O3 S1"},
        {"peptide(M[+15.9949|Oxidation]K)", "C11 H23 N3 O4 S1"},
        // a Unimod title that begins with a digit: K + H2O + 2HPG's C16H10O5
        {"peptide(K[2HPG])", "C22 H24 N2 O7"},
        // Q A K + H2O = C14H27N5O5, pyro-Glu takes NH3 off the Q: its name holds a ">"
        {"peptide(<[Gln->pyro-Glu]@Q>QAK)", "C14 H24 N4 O5"},
        // on the C and on the N-terminus where it is an A; not where it is a G
        {"peptide(<[Carbamidomethyl]@C,N-term:A>ACK)", "C16 H30 N6 O6 S1"},
        {"peptide(<[Carbamidomethyl]@N-term:G>ACK)", "C12 H24 N4 O4 S1"},
        {"peptide(<[Carbamidomethyl]@C-term:K>ACK)", "C14 H27 N5 O5 S1"},
        // U + O + H2O
        {"peptide(UO)", "C15 H26 N4 O4 Se1"},
        {"dna(A)", "C10 H13 N5 O3"},
        // 39 C, 53 - 3 H, 15 N, 16 + 6 O, 3 P
        {"dna(ACGT)", "C39 H50 N15 O22 P3"},
        {"dna(pACGT)", "C39 H51 N15 O25 P4"},
        {"dna(AC GT)", "C39 H50 N15 O22 P3"},
        {"rna(U)", "C9 H12 N2 O6"},
        // 38 C, 51 - 3 H, 15 N, 20 + 6 O, 3 P
        {"rna(ACGU)", "C38 H48 N15 O26 P3"},
    };
    for (const Reading& reading : cases) {
        SCOPED_TRACE(reading.formula);
        const SequenceReading read = readWhole(reading.formula);
        EXPECT_EQ(support::compositionText(read.composition), reading.composition);
        EXPECT_EQ(read.composition.charge.value_or(0), reading.charge);
        EXPECT_EQ(read.end, reading.formula.size());
    }
}

struct Oligo {
    std::string sequence;
    int a, c, g, t;
};

TEST(SequenceReaderTest, DnaWeighsAsTheOligonucleotideRule) {
    // The usual rule for a 5'-OH oligonucleotide: the nucleotide residues' weights (dA 313.21,
    // dC 289.18, dG 329.21, dT 304.2) less 61.96 for the missing 5'-phosphate; the weights
    // are rounded, to 0.01 each.
    const Oligo cases[] = {
        {"GATTACA", 3, 1, 1, 2},
        {"CCCCGGGG", 0, 4, 4, 0},
        {"TTTTTTTTTTTTTTTTTTTT", 0, 0, 0, 20},
    };
    for (const Oligo& oligo : cases) {
        SCOPED_TRACE(oligo.sequence);
        const long double rule =
            oligo.a * 313.21L + oligo.c * 289.18L + oligo.g * 329.21L + oligo.t * 304.2L - 61.96L;
        const long double mass =
            support::averageMass(readWhole("dna(" + oligo.sequence + ")").composition);
        const double rounding = 0.01 * static_cast<double>(oligo.sequence.size() + 1);
        EXPECT_NEAR(static_cast<double>(mass), static_cast<double>(rule), rounding);
    }
}

TEST(SequenceReaderTest, AveragineComesWithinHalfAHydrogenOfTheMass) {
    // a mass may be written with an exponent, as 1e7
    const std::string masses[] = {"1000",     "8564,8", "25000", "66430.3",
                                  "111125.4", "2.5e4",  "1e7",   "3E+5"};
    for (const std::string& mass : masses) {
        SCOPED_TRACE(mass);
        const SequenceComposition composition = readWhole("averagine(" + mass + ")").composition;
        std::string number = mass;
        std::replace(number.begin(), number.end(), ',', '.');
        std::replace(number.begin(), number.end(), 'E', 'e');
        const long double target = std::stold(number);
        EXPECT_LE(std::fabs(static_cast<double>(support::averageMass(composition) - target)),
                  1.008 / 2);
        // the carbon of averagine, 4.9384 per 111.1254 u, within one atom
        EXPECT_NEAR(static_cast<double>(composition.atomsOf("C")),
                    static_cast<double>(target / 111.1254L * 4.9384L), 0.5);
    }
    // 1000 averagine units: C 4938.4, N 1357.7, O 1477.3, S 41.7
    const SequenceComposition protein = readWhole("averagine(111125.4)").composition;
    EXPECT_EQ(protein.atomsOf("C"), 4938);
    EXPECT_EQ(protein.atomsOf("N"), 1358);
    EXPECT_EQ(protein.atomsOf("O"), 1477);
    EXPECT_EQ(protein.atomsOf("S"), 42);
}

// What is read as written but likely meant otherwise is said beside the reading.
TEST(SequenceReaderTest, NoticesThreeLetterCodesAndAnAveragineFarFromItsMass) {
    const struct {
        std::string formula;
        std::string notice; // "" for none
    } cases[] = {
        {"peptide(GlyGly)",
         "peptide(GlyGly) is read one letter a residue, as GLYGLY; did you mean peptide(GG)?"},
        {"peptide(AlaSerPyl)", "peptide(AlaSerPyl) is read one letter a residue, as ALASERPYL; "
                               "did you mean peptide(ASO)?"},
        {"peptide(GLYGLY)", ""}, // capitals are one-letter codes
        {"peptide(GlyGl)", ""},
        {"peptide(GlyAAA)", ""}, // not every triple a code: no reading to offer
        {"peptide(Gly)", "peptide(Gly) is read one letter a residue, as GLY; did you mean "
                         "peptide(G)?"},
        {"averagine(50)", "averagine(50) has no composition of whole atoms near its mass: the "
                          "nearest weighs 54.03 u, 4.03 u more"},
        {"averagine(1000)", ""},
        {"averagine(25000)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<std::string> notices = readWhole(c.formula).notices;
        if (c.notice.empty()) {
            EXPECT_TRUE(notices.empty());
        } else {
            ASSERT_EQ(notices.size(), 1u);
            EXPECT_EQ(notices.front(), c.notice);
        }
    }
}

TEST(SequenceReaderTest, KnowsWhereASequenceStarts) {
    EXPECT_TRUE(isSequenceAt("2peptide(ACK)", 1));
    EXPECT_TRUE(isSequenceAt("dna(A)", 0));
    EXPECT_TRUE(isSequenceAt("Narna(A)", 2));
    EXPECT_FALSE(isSequenceAt("peptide (ACK)", 0));
    EXPECT_FALSE(isSequenceAt("Peptide(ACK)", 0));
    EXPECT_FALSE(isSequenceAt("dna", 0));
}

} // namespace
} // namespace orvane::sequence

namespace orvane::sequence {
namespace {

// Forty thousand modifications are read in one pass: each one's position is counted only
// for a refusal, so the last, unknown one is refused at once, at its place.
TEST(SequenceReader, ReadsTensOfThousandsOfModificationsInOnePass) {
    constexpr std::size_t modifications = 40000;
    std::string formula = "peptide(";
    for (std::size_t i = 0; i < modifications; ++i) {
        formula += "M[Oxidation]";
    }
    const std::size_t unknown = formula.size() + 2; // the "[" after the last M, from 1
    formula += "M[NoSuchModification])";
    const std::string message = messageOf(formula);
    EXPECT_NE(message.find("is no Unimod name"), std::string::npos) << message.substr(0, 200);
    EXPECT_NE(message.find("position " + std::to_string(unknown)), std::string::npos)
        << message.substr(0, 200);
}

} // namespace
} // namespace orvane::sequence
