#include "sequence/unimod_modifications.h"

#include <gtest/gtest.h>

#include <string>

#include "sequence/sequence_test_support.h"

namespace orvane::sequence {
namespace {

TEST(UnimodModificationsTest, RefusesWhatIsNoComposition) {
    const std::string texts[] = {"", "   ", "H(2", "H(x)", "Xyz", "13Hex", "C(2)O)", "h"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(unimodComposition(text));
    }
    EXPECT_FALSE(unimodByName("no such modification"));
    EXPECT_FALSE(unimodByAccession(0));
    EXPECT_FALSE(unimodByAccession(-35));
    EXPECT_FALSE(unimodByAccession(99999999));
}

struct Composition {
    std::string text;
    std::string expected;
};

TEST(UnimodModificationsTest, ReadsUnimodCompositions) {
    const Composition cases[] = {
        {"O", "O1"},
        {"H(2) C(2) O", "C2 H2 O1"},
        {"H N O(-1)", "H1 N1 O-1"},
        {"13C(6) C(-6)", "C-6 [13C]6"},
        {"2H(4) H(-4)", "H-4 [2H]4"},
        // Hex C6H10O5 twice and HexNAc C8H13NO5
        {"Hex(2) HexNAc", "C20 H33 N1 O15"},
        // dHex C6H10O4, NeuAc C11H17NO8
        {"dHex NeuAc", "C17 H27 N1 O12"},
    };
    for (const Composition& composition : cases) {
        SCOPED_TRACE(composition.text);
        const auto read = unimodComposition(composition.text);
        ASSERT_TRUE(read);
        EXPECT_EQ(support::compositionText(*read), composition.expected);
    }
}

struct Modification {
    std::string name;
    long long accession;
    std::string delta;
};

TEST(UnimodModificationsTest, FindsModificationsByNameAndAccession) {
    // The deltas as Unimod publishes them.
    const Modification cases[] = {
        {"Oxidation", 35, "O1"},
        {"Phospho", 21, "H1 O3 P1"},
        {"Acetyl", 1, "C2 H2 O1"},
        {"Amidated", 2, "H1 N1 O-1"},
        {"Carbamidomethyl", 4, "C2 H3 N1 O1"},
        {"Deamidated", 7, "H-1 N-1 O1"},
        {"Methyl", 34, "C1 H2"},
        {"Label:13C(6)", 188, "C-6 [13C]6"},
        {"Ethoxyformyl", 915, "C3 H4 O2"}, // not in ProteoWizard's copy of Unimod
    };
    for (const Modification& modification : cases) {
        SCOPED_TRACE(modification.name);
        const auto byName = unimodByName(modification.name);
        ASSERT_TRUE(byName);
        EXPECT_EQ(byName->accession, modification.accession);
        ASSERT_TRUE(byName->delta);
        EXPECT_EQ(support::compositionText(*byName->delta), modification.delta);
        const auto byAccession = unimodByAccession(modification.accession);
        ASSERT_TRUE(byAccession);
        EXPECT_EQ(byAccession->name, modification.name);
    }
}

TEST(UnimodModificationsTest, BricksHoldTheAtomsOfTheirModifications) {
    // Unimod's group bricks are the deltas of the modifications of the same groups.
    const std::pair<std::string, std::string> cases[] = {
        {"Me", "Methyl"},
        {"Ac", "Acetyl"},
        {"Sulf", "Sulfo"},
        {"Phos", "Phospho"},
    };
    for (const auto& [brick, name] : cases) {
        SCOPED_TRACE(brick);
        const auto modification = unimodByName(name);
        ASSERT_TRUE(modification && modification->delta);
        EXPECT_EQ(support::compositionText(unimodComposition(brick).value()),
                  support::compositionText(*modification->delta));
    }
}

} // namespace
} // namespace orvane::sequence
