#pragma once

#include <cstddef>
#include <vector>

#include "accurate/element_isotopes.h"
#include "accurate/parsed_isotopes.h"
#include "data/data_tables.h"

namespace orvane::accurate {

class PowerCache;

// The atoms of one element of a formula: an element-table column and a whole count, the
// count rounded as the pattern engine rounds it.
struct AtomCount {
    int column = 0; // 1 to the element count
    long long atoms = 0;
};

// Atoms of an isotope label: what one labelled position holds (the label's isotope first,
// which the monoisotopic mass takes whatever its share) and how many positions there are.
struct LabelAtoms {
    ElementIsotopes isotopes;
    long long atoms = 0;
    int column = 0; // the element's column, for its electrons
};

// The isotopologues of one nominal mass (the sum of their mass numbers) taken together.
struct Cluster {
    long long nominalMass = 0;
    double mass = 0;        // probability-weighted centre, in u
    double probability = 0; // of all molecules, those in this cluster
    double intensity = 0;   // percent of the tallest cluster, which is exactly 100
    double variance = 0;    // of the masses in the cluster about its centre, in u^2
};

struct AccurateMasses {
    double monoisotopicMass = 0; // every atom its most abundant isotope
    double averageMass = 0;
    std::vector<Cluster> clusters; // ascending nominal masses, none of probability 0
    std::size_t mostAbundant = 0;  // the tallest cluster; of equal ones the lightest
};

// Clusters below this part of the tallest are not reported; beneath them lie the tails
// that the convolution drops, so every reported one is exact to double precision.
inline constexpr double reportedClusterCut = 1e-40;

// The masses of a molecule without its clusters.
struct MoleculeMasses {
    double monoisotopicMass = 0; // every atom its most abundant isotope
    double averageMass = 0;
};

/// The monoisotopic and average masses of the atoms, as computeAccurateMasses gives them,
/// without the work of the clusters. Raises text::Error as readElementIsotopes does and
/// for a negative count.
MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels = {});

/// The monoisotopic and average masses of the atoms and their exact clusters, without any
/// threshold below reportedClusterCut. Counts of 0 are skipped; no atoms at all give one
/// cluster at mass 0. Numbers in the tables are read with `separator` or "." as the
/// decimal point. Raises text::Error for a negative count, for a formula too wide to
/// convolve and for what readElementIsotopes refuses.
/// Labels add their atoms with their own isotopes.
AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels = {});

/// The same two with the isotopes read once; `tables` names an element in messages.
MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, const ParsedIsotopes& parsed,
                                     const std::vector<LabelAtoms>& labels = {});
/// A cache, where given, keeps each element's power for the next formula. Without every
/// cluster only the lightest and the most abundant are made (the same values).
AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, const ParsedIsotopes& parsed,
                                     const std::vector<LabelAtoms>& labels = {},
                                     PowerCache* cache = nullptr, bool everyCluster = true);

} // namespace orvane::accurate
