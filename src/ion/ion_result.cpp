#include "ion/ion_result.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "accurate/electron_count.h"
#include "accurate/ion_mz.h"
#include "formula/adduct_charge.h"
#include "formula/element_symbols.h"
#include "formula/ion_notation.h"
#include "text/error.h"
#include "text/number_text.h"
#include "text/rounding.h"

namespace orvane::ions {

namespace {

// Whole atoms by column, written as the Formula box writes counts (symbol and count), each
// label after its element.
std::string formulaOf(const std::vector<long long>& atoms, const std::vector<std::string>& symbols,
                      const std::vector<accurate::LabelAtoms>& labels) {
    std::string text;
    auto labelsOf = [&](std::size_t column) {
        for (const accurate::LabelAtoms& label : labels) {
            if (static_cast<std::size_t>(label.column) == column && label.atoms > 0) {
                text += label.isotopes.symbol + std::to_string(label.atoms);
            }
        }
    };
    for (std::size_t column = 1; column < atoms.size(); ++column) {
        if (atoms[column] > 0) {
            text += symbols[column] + std::to_string(atoms[column]);
        }
        labelsOf(column);
    }
    return text;
}

// The labels of the working elements, their counts rounded as the engine rounds them.
std::vector<accurate::LabelAtoms> labelAtomsOf(const calc::Composition& composition) {
    std::vector<accurate::LabelAtoms> labels;
    for (const calc::WorkingElement& element : composition.elements) {
        if (element.labelIsotopes.empty()) {
            continue;
        }
        accurate::LabelAtoms label;
        label.isotopes.symbol = element.symbol;
        label.isotopes.isotopes = element.labelIsotopes;
        label.atoms = text::roundHalfEven(static_cast<text::Extended>(element.count));
        label.column = element.column;
        labels.push_back(std::move(label));
    }
    return labels;
}

} // namespace

std::vector<accurate::AtomCount> atomCountsOf(const std::vector<long long>& atoms) {
    std::vector<accurate::AtomCount> counts;
    counts.reserve(static_cast<std::size_t>(std::count_if(
        atoms.begin() + (atoms.empty() ? 0 : 1), atoms.end(), [](long long n) { return n > 0; })));
    for (std::size_t column = 1; column < atoms.size(); ++column) {
        if (atoms[column] > 0) {
            counts.push_back({static_cast<int>(column), atoms[column]});
        }
    }
    return counts;
}

std::vector<long long> moleculeAtomsOf(const calc::Composition& composition,
                                       const std::vector<std::string>& symbols) {
    std::vector<long long> molecule(symbols.size(), 0);
    for (const calc::WorkingElement& element : composition.elements) {
        if (element.labelIsotopes.empty() && element.column > 0 &&
            static_cast<std::size_t>(element.column) < molecule.size()) {
            molecule[static_cast<std::size_t>(element.column)] +=
                text::roundHalfEven(static_cast<text::Extended>(element.count));
        }
    }
    return molecule;
}

std::string expandIon(std::string_view ion, int charge) {
    std::string expanded;
    const std::string digits = charge == 1 ? std::string() : std::to_string(charge);
    for (const char c : ion) {
        if (c == 'z') {
            expanded += digits;
        } else {
            expanded += c;
        }
    }
    return expanded;
}

IonAtoms ionAtomsOf(const Molecule& molecule, const formula::IonNotation& notation,
                    const std::vector<std::string>& symbols, bool withFormula) {
    IonAtoms ion;
    ion.atoms =
        formula::ionAtomCounts(notation, moleculeAtomsOf(molecule.composition, symbols), symbols);
    ion.labels = labelAtomsOf(molecule.composition);
    // [2M+H]+ holds the labels of both molecules
    for (accurate::LabelAtoms& label : ion.labels) {
        if (__builtin_mul_overflow(label.atoms, static_cast<long long>(notation.moleculeMultiplier),
                                   &label.atoms)) {
            throw text::Error("The ion " + notation.text + " has too many atoms of " +
                              label.isotopes.symbol + ".");
        }
    }
    if (withFormula) {
        ion.formula = formulaOf(ion.atoms, symbols, ion.labels);
    }
    // labelled atoms bring their element's electrons
    std::vector<accurate::AtomCount> allAtoms = atomCountsOf(ion.atoms);
    for (const accurate::LabelAtoms& label : ion.labels) {
        allAtoms.push_back({label.column, label.atoms});
    }
    // a cation cannot give up more electrons than its atoms bring
    if (const std::optional<long long> electrons =
            accurate::electronCount(allAtoms, molecule.tables);
        electrons && notation.charge > *electrons) {
        throw text::Error("The ion " + notation.text + " of " +
                          formulaOf(ion.atoms, symbols, ion.labels) + " has " +
                          std::to_string(*electrons) + " electrons; it cannot lose " +
                          std::to_string(notation.charge) + ".");
    }
    return ion;
}

IonResult computeIon(const Molecule& molecule, std::string_view ion, int charge, char separator,
                     accurate::PowerCache* powers, bool everyCluster) {
    const data::TextGrid& elements = molecule.tables.elements;
    const std::vector<std::string> read =
        molecule.reader.symbols.empty() ? formula::symbolsOf(elements) : std::vector<std::string>{};
    const std::vector<std::string>& symbols =
        molecule.reader.symbols.empty() ? read : molecule.reader.symbols;
    IonResult result;
    result.ion = expandIon(ion, charge);
    const formula::IonNotation notation = formula::readIonNotation(result.ion, symbols, separator);
    result.charge = notation.charge;

    const std::vector<long long> moleculeCounts = moleculeAtomsOf(molecule.composition, symbols);
    const std::vector<accurate::LabelAtoms> moleculeLabels = labelAtomsOf(molecule.composition);
    IonAtoms ionAtoms = ionAtomsOf(molecule, notation, symbols, everyCluster);
    result.ionLabels = std::move(ionAtoms.labels);
    if (everyCluster) {
        result.moleculeFormula = formulaOf(moleculeCounts, symbols, moleculeLabels);
    }
    result.ionFormula = std::move(ionAtoms.formula);

    const std::vector<accurate::AtomCount> moleculeAtoms = atomCountsOf(moleculeCounts);
    result.ionAtoms = atomCountsOf(ionAtoms.atoms);
    // An ion of the molecule's own atoms ([M]+) sums its masses over the same atoms in the
    // same order: the molecule's are then taken from it.
    const bool ionIsMolecule =
        moleculeLabels.empty() && result.ionLabels.empty() &&
        std::equal(moleculeAtoms.begin(), moleculeAtoms.end(), result.ionAtoms.begin(),
                   result.ionAtoms.end(), [](const auto& a, const auto& b) {
                       return a.column == b.column && a.atoms == b.atoms;
                   });
    accurate::MoleculeMasses masses;
    if (!ionIsMolecule) {
        masses = molecule.isotopes.empty()
                     ? accurate::computeMoleculeMasses(moleculeAtoms, molecule.tables, separator,
                                                       moleculeLabels)
                     : accurate::computeMoleculeMasses(moleculeAtoms, molecule.tables,
                                                       molecule.isotopes, moleculeLabels);
    }
    const accurate::AccurateMasses ionMasses =
        molecule.isotopes.empty()
            ? accurate::computeAccurateMasses(result.ionAtoms, molecule.tables, separator,
                                              result.ionLabels)
            : accurate::computeAccurateMasses(result.ionAtoms, molecule.tables, molecule.isotopes,
                                              result.ionLabels, powers, everyCluster);
    if (ionIsMolecule) {
        masses = {ionMasses.monoisotopicMass, ionMasses.averageMass};
    }
    result.monoisotopicMass = masses.monoisotopicMass;
    result.averageMass = masses.averageMass;
    result.monoisotopicMz = accurate::mzOf(ionMasses.monoisotopicMass, result.charge);
    result.averageMz = accurate::mzOf(ionMasses.averageMass, result.charge);
    for (const accurate::Cluster& cluster : ionMasses.clusters) {
        result.clusters.push_back({cluster.nominalMass, cluster.mass,
                                   accurate::mzOf(cluster.mass, result.charge), cluster.probability,
                                   cluster.intensity, cluster.variance});
    }
    result.mostAbundantMz = result.clusters.at(ionMasses.mostAbundant).mz;
    result.lightestMz = result.clusters.front().mz;
    if (std::string notice = formula::chargeNotice(notation); !notice.empty()) {
        result.notices.push_back(std::move(notice));
    }
    if (std::string notice = roundedCountsNotice(molecule.composition, separator);
        !notice.empty()) {
        result.notices.push_back(std::move(notice));
    }
    return result;
}

std::string mainAxisNotice(const IonResult& ion, int mainCharge, char separator) {
    if (mainCharge == 0) {
        return {};
    }
    const int z = std::abs(mainCharge);
    const double axis = ion.monoisotopicMass / z;
    if (std::fabs(axis - ion.monoisotopicMz) <= 0.001) {
        return {};
    }
    return "the main window's m/z axis is M/" + std::to_string(z) + " (" +
           text::fixedText(axis, 18, 4, separator) + "), without the ion's adducts and electrons";
}

std::vector<IonCluster> listedClusters(const IonResult& ion, bool all) {
    std::vector<IonCluster> listed;
    for (const IonCluster& cluster : ion.clusters) {
        if (all || cluster.intensity >= listedClusterMinimum) {
            listed.push_back(cluster);
        }
    }
    return listed;
}

std::string roundedCountsNotice(const calc::Composition& composition, char separator) {
    std::string rounded;
    for (const calc::WorkingElement& element : composition.elements) {
        if (element.count != std::floor(element.count)) {
            rounded +=
                (rounded.empty() ? "" : ", ") + element.symbol + " " +
                text::generalText(element.count, separator) + " taken as " +
                std::to_string(text::roundHalfEven(static_cast<text::Extended>(element.count)));
        }
    }
    return rounded.empty() ? rounded : "accurate masses use whole atoms: " + rounded;
}

} // namespace orvane::ions
