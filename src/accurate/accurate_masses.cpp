#include "accurate/accurate_masses.h"

#include "accurate/atom_distribution.h"
#include "accurate/atom_parts.h"

namespace orvane::accurate {

namespace {

MoleculeMasses moleculeMasses(const std::vector<AtomPart>& parts) {
    long double monoisotopic = 0;
    long double average = 0;
    for (const AtomPart& part : parts) {
        const auto n = static_cast<long double>(part.atoms);
        monoisotopic += n * part.monoisotopic().mass;
        average += n * part.element.averageMass();
    }
    return {static_cast<double>(monoisotopic), static_cast<double>(average)};
}

} // namespace

MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels) {
    return moleculeMasses(atomPartsOf(atoms, tables, separator, labels));
}

MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, const ParsedIsotopes& parsed,
                                     const std::vector<LabelAtoms>& labels) {
    return moleculeMasses(atomPartsOf(atoms, tables, parsed, labels));
}

AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, const ParsedIsotopes& parsed,
                                     const std::vector<LabelAtoms>& labels, PowerCache* cache,
                                     bool everyCluster) {
    const std::vector<AtomPart> parts = atomPartsOf(atoms, tables, parsed, labels);
    return everyCluster ? AtomDistribution::of(parts, cache).masses()
                        : AtomDistribution::lightestAndTallest(parts, cache);
}

AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels) {
    return AtomDistribution::of(atoms, tables, separator, labels).masses();
}

} // namespace orvane::accurate
