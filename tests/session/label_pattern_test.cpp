// Labelled molecules against IsoSpec given the same isotopes: each labelled position is
// an element of its own, with the label's isotope at the purity and the element's other
// isotopes sharing the rest in their natural ratio.
#include <IsoSpec++/isoSpec++.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "accurate/element_isotopes.h"
#include "session_test_support.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::session::testing {
namespace {

using namespace ions;

// One element of the molecule as IsoSpec takes it.
struct IsoElement {
    int atoms = 0;
    std::vector<double> masses;
    std::vector<double> probabilities;
};

IsoElement natural(const SessionState& state, int column, int atoms) {
    const accurate::ElementIsotopes element =
        accurate::readElementIsotopes(state.tables, column, '.');
    IsoElement iso{atoms, {}, {}};
    for (const accurate::Isotope& isotope : element.isotopes) {
        iso.masses.push_back(isotope.mass);
        iso.probabilities.push_back(isotope.probability);
    }
    return iso;
}

// Every isotopologue, summed by nominal mass: probability and probability-weighted mass.
struct Bin {
    double probability = 0;
    double massSum = 0;
};

std::map<long long, Bin> isoSpecBins(const std::vector<IsoElement>& elements) {
    std::vector<int> isotopeNumbers;
    std::vector<int> atoms;
    std::vector<double> masses;
    std::vector<double> probabilities;
    for (const IsoElement& element : elements) {
        isotopeNumbers.push_back(static_cast<int>(element.masses.size()));
        atoms.push_back(element.atoms);
        masses.insert(masses.end(), element.masses.begin(), element.masses.end());
        probabilities.insert(probabilities.end(), element.probabilities.begin(),
                             element.probabilities.end());
    }
    IsoSpec::Iso iso(static_cast<int>(elements.size()), isotopeNumbers.data(), atoms.data(),
                     masses.data(), probabilities.data());
    IsoSpec::IsoThresholdGenerator generator(std::move(iso), 0.0, true);
    std::map<long long, Bin> bins;
    while (generator.advanceToNextConfiguration()) {
        Bin& bin = bins[std::llround(generator.mass())];
        bin.probability += generator.prob();
        bin.massSum += generator.prob() * generator.mass();
    }
    return bins;
}

TEST(LabelPattern, LabelledGlucoseAgreesWithIsoSpecGivenTheSameIsotopes) {
    const double c12 = 12.0;
    const double c13 = 13.00335483507;
    struct Case {
        const char* formula;
        std::vector<double> labelProbabilities; // 13C then 12C of each labelled position
        int labelled;
        int naturalCarbon;
    };
    const Case cases[] = {
        {"[13C]6H12O6", {1.0}, 6, 0},
        {"[13C]6{99%}H12O6", {0.99, 0.01}, 6, 0},
        {"C4[13C]2{97.5%}H12O6", {0.975, 0.025}, 2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const ShippedSession shipped(c.formula);
        const SessionState& state = shipped.session.state();
        std::vector<IsoElement> elements{natural(state, 1, 12), natural(state, 8, 6)};
        IsoElement label{c.labelled, {c13}, {c.labelProbabilities[0]}};
        if (c.labelProbabilities.size() > 1) {
            label.masses.push_back(c12);
            label.probabilities.push_back(c.labelProbabilities[1]);
        }
        elements.push_back(label);
        if (c.naturalCarbon > 0) {
            elements.push_back(natural(state, 6, c.naturalCarbon));
        }
        const std::map<long long, Bin> bins = isoSpecBins(elements);
        double tallest = 0;
        for (const auto& [nominal, bin] : bins) {
            tallest = std::max(tallest, bin.probability);
        }

        // the nominal pattern: P[n] is the percentage of the tallest nominal mass
        const std::vector<double>& p = state.pattern.p;
        for (std::size_t n = 0; n < p.size(); ++n) {
            const auto bin = bins.find(static_cast<long long>(n));
            const double expected = bin == bins.end() ? 0 : bin->second.probability / tallest * 100;
            EXPECT_NEAR(p[n], expected, 1e-9 * 100) << "nominal mass " << n;
        }

        // the accurate clusters of the neutral molecule
        const IonResult ion = shipped.ion("[M]+");
        for (const IonCluster& cluster : ion.clusters) {
            const Bin& bin = bins.at(cluster.nominalMass);
            EXPECT_NEAR(cluster.probability, bin.probability, 1e-6);
            if (bin.probability > 1e-12) {
                EXPECT_NEAR(cluster.mass, bin.massSum / bin.probability, 1e-6);
            }
        }
        // the monoisotopic mass takes the label's isotope at every labelled position
        const double monoisotopic =
            c.labelled * c13 + c.naturalCarbon * c12 + 12 * 1.00782503223 + 6 * 15.99491461957;
        EXPECT_NEAR(ion.monoisotopicMass, monoisotopic, 1e-9);
    }
}

TEST(LabelPattern, TheWindowShowsLabelsBesideTheUnlabelledCounts) {
    const ShippedSession shipped("[13C]6H12O6");
    const SessionState& state = shipped.session.state();
    EXPECT_EQ(state.texts.formulaText, "H12[13C]6O6");
    EXPECT_EQ(state.tables.elements.cell(6, data::CountRow), "0"); // the C cell
    // FW takes the label's isotope mass: 6 x 13.00335483507 + 12 x 1.008 + 6 x 15.999
    // = 186.11012901042
    EXPECT_NEAR(state.composition.formulaWeight, 186.11012901042, 1e-9);
    ASSERT_EQ(state.labels.size(), 1u);
    EXPECT_EQ(state.labels[0].symbol, "[13C]");
    // natural glucose sits at 180, the labelled one six steps higher
    EXPECT_EQ(state.pattern.n0, 186);
    EXPECT_EQ(state.pattern.p[186], 100);
}

TEST(LabelPattern, RadioactiveLabelsTakeTheirMassesFromTheIsotopeList) {
    const ShippedSession shipped("[14C]H4");
    const IonResult ion = shipped.ion("[M]+");
    EXPECT_NEAR(ion.monoisotopicMass, 14.00324199 + 4 * 1.007825032, 1e-9);
    EXPECT_EQ(shipped.session.state().pattern.n0, 18);
}

TEST(LabelPattern, ALabelThatCannotBeResolvedWritesNothing) {
    ShippedSession shipped("C6H12O6");
    // [2He]: no such isotope is known
    EXPECT_THROW(shipped.session.enterFormula("[2He]"), text::Error);
    EXPECT_EQ(shipped.session.state().texts.formulaText, "H12C6O6");
    EXPECT_TRUE(shipped.session.state().labels.empty());
    // a formula without labels clears them, and Initialization too
    shipped.session.enterFormula("D2O");
    EXPECT_EQ(shipped.session.state().labels.size(), 1u);
    shipped.session.enterFormula("H2O");
    EXPECT_TRUE(shipped.session.state().labels.empty());
    shipped.session.enterFormula("D2O");
    shipped.session.Initialization1Click();
    EXPECT_TRUE(shipped.session.state().labels.empty());
    EXPECT_EQ(shipped.session.state().texts.formulaText, "");
}

TEST(LabelPattern, WithoutTheIsotopeListOnlyNaturalIsotopesCanBeLabels) {
    // the shipped data files but isotopes.txt
    const testing_support::TempDirectory folder;
    for (const char* name : {"elem.txt", "abundances.txt", "masses.txt"}) {
        std::filesystem::copy_file(std::string(ORVANE_SHARE_DIR) + "/" + name, folder.file(name));
    }
    testing_support::RecordingNotifier notifier;
    NoCanvas canvas;
    Session session(folder.path(), '.', notifier, canvas, SessionTiming{{}});
    session.Initialize1Click();
    session.enterFormula("H2O");
    try {
        session.enterFormula("[14C]H4");
        ADD_FAILURE() << "[14C] was read";
    } catch (const text::Error& error) {
        EXPECT_NE(
            std::string(error.what()).find("names no known isotope of C (mass numbers 12 to 13)"),
            std::string::npos)
            << error.what();
    }
    try {
        session.enterCounts({{6, "1"}}, {}, {{6, 14, 1, 1, "1"}});
        ADD_FAILURE() << "[14C] was resolved";
    } catch (const text::Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The label [14C] needs the masses of isotopes.txt: isotopes.txt was not found "
                  "in " +
                      folder.path() + ".");
    }
    EXPECT_EQ(session.state().texts.formulaText, "H2O1"); // nothing was written
    session.enterFormula("[13C]H4");                      // natural isotopes need only masses.txt
    EXPECT_EQ(session.state().texts.formulaText, "H4[13C]1");
}

TEST(SequenceEntry, APeptidesChargeSetsTheChargeAndTheProtonatedIon) {
    ShippedSession shipped("C6H12O6");
    Session& session = shipped.session;
    session.setIonText("[M+Na]+");
    session.enterFormula("peptide(PEPTIDE/3)");
    EXPECT_EQ(session.state().settings.charge.value(), 3);
    EXPECT_EQ(session.state().ionText, "[M+zH]z+");
    EXPECT_EQ(session.state().texts.formulaText, "H53C34N7O15");
    // the sequence's charge lasts for its own formula: the next finds the boxes as they were
    session.enterFormula("peptide(PEPTIDE)");
    EXPECT_EQ(session.state().settings.charge.value(), 1);
    EXPECT_EQ(session.state().ionText, "[M+Na]+");
}

} // namespace
} // namespace orvane::session::testing
