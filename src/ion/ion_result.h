#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "accurate/accurate_masses.h"
#include "accurate/power_cache.h"
#include "formula/ion_notation.h"
#include "calc/composition.h"
#include "ion/molecule.h"

namespace orvane::ions {

// The presets of the ion box. "z" stands for the main window's charge: "[M+zH]z+" is
// "[M+H]+" at charge 1 and "[M+2H]2+" at charge 2.
inline constexpr const char* ionPresets[] = {"[M+zH]z+", "[M+zNa]z+", "[M+zK]z+", "[M+zNH4]z+",
                                             "[M-zH]z-", "[M+zCl]z-", "[M]z+"};

/// The ion notation with every "z" replaced by the charge (and dropped at charge 1).
std::string expandIon(std::string_view ion, int charge);

// One accurate cluster of the ion, as the high-resolution table lists it.
struct IonCluster {
    long long nominalMass = 0;
    double mass = 0;        // probability-weighted centre of the ion's atoms, in u
    double mz = 0;          // with the electrons the charge takes away or brings
    double probability = 0; // of all ions, those in this cluster
    double intensity = 0;   // percent of the tallest, which is exactly 100
    double variance = 0;    // of the masses in the cluster, in u^2
};

// The accurate masses of the current formula and of an ion of it.
struct IonResult {
    std::string ion;             // the notation as read, "z" replaced
    int charge = 1;              // signed: positive for cations
    std::string moleculeFormula; // whole atoms as the engine takes them, in table order
    std::string ionFormula;
    double monoisotopicMass = 0; // of the molecule M
    double averageMass = 0;      // of the molecule M
    double monoisotopicMz = 0;   // of the ion
    double averageMz = 0;        // of the ion
    double mostAbundantMz = 0;   // the tallest cluster of the ion
    // The lightest cluster of the ion: below the monoisotopic m/z where labels are impure.
    double lightestMz = 0;
    std::vector<IonCluster> clusters;
    std::vector<accurate::AtomCount> ionAtoms;   // the ion's atoms by element column
    std::vector<accurate::LabelAtoms> ionLabels; // its labelled atoms
    // What the reader should know about the result: a charge the adducts do not give,
    // counts rounded to whole atoms.
    std::vector<std::string> notices;
};

// Clusters below this intensity (% of the tallest) are left out of the lists shown.
inline constexpr double listedClusterMinimum = 1e-6;

/// Where the main window's m/z axis (the molecule's mass over the charge box) and the ion's
/// m/z part by more than 0.001: "the main window's m/z axis is M/2 (326.1155), without the
/// ion's adducts and electrons"; "" where they agree or the charge is 0.
std::string mainAxisNotice(const IonResult& ion, int mainCharge, char separator);

/// The clusters a list shows: those of at least listedClusterMinimum, or all of them.
std::vector<IonCluster> listedClusters(const IonResult& ion, bool all = false);

/// "accurate masses use whole atoms: C 2.5 taken as 2, …" for the working elements whose
/// counts are not whole; "" when all are.
std::string roundedCountsNotice(const calc::Composition& composition, char separator);

/// The atoms of the columns with a count above 0.
std::vector<accurate::AtomCount> atomCountsOf(const std::vector<long long>& atoms);

/// The molecule's unlabelled atoms as the pattern engine takes them, by column (indexed like
/// `symbols`): every working element's count rounded.
std::vector<long long> moleculeAtomsOf(const calc::Composition& composition,
                                       const std::vector<std::string>& symbols);

// The atoms of an ion of the current formula.
struct IonAtoms {
    std::vector<long long> atoms;             // by element-table column, 0 unused
    std::vector<accurate::LabelAtoms> labels; // the labelled atoms, k times the molecule's
    std::string formula;                      // as IonResult::ionFormula writes it
};

/// The ion's atoms: k times the molecule's (whole atoms as the engine takes them, labels
/// included) with the adducts added and taken away. Raises text::Error as
/// formula::ionAtomCounts does and for a cation that would lose more electrons than its
/// atoms have. Without `withFormula` the formula is left empty (it is still named in the
/// error).
IonAtoms ionAtomsOf(const Molecule& molecule, const formula::IonNotation& notation,
                    const std::vector<std::string>& symbols, bool withFormula = true);

/// The accurate masses for the working elements of the molecule (atoms = Round(count)) and the
/// ion `ion` at the main window's `charge` (see expandIon). Raises text::Error for a
/// notation the reader refuses, an ion that would need atoms the molecule lacks, and what
/// the accurate masses refuse (masses.txt missing or wrong, naming file, line and field).
/// A cache, where given, keeps the elements' powers for the next formula. Without every
/// cluster (a batch row), the clusters are only the lightest and the most abundant, and
/// neither the molecule's nor the ion's formula is written.
IonResult computeIon(const Molecule& molecule, std::string_view ion, int charge, char separator,
                     accurate::PowerCache* powers = nullptr, bool everyCluster = true);

} // namespace orvane::ions
