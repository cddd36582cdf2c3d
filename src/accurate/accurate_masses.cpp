#include "accurate/accurate_masses.h"

#include "accurate/atom_distribution.h"
#include "accurate/atom_parts.h"

namespace orvane::accurate {

MoleculeMasses computeMoleculeMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels) {
    long double monoisotopic = 0;
    long double average = 0;
    for (const AtomPart& part : atomPartsOf(atoms, tables, separator, labels)) {
        const auto n = static_cast<long double>(part.atoms);
        monoisotopic += n * part.monoisotopic().mass;
        average += n * part.element.averageMass();
    }
    return {static_cast<double>(monoisotopic), static_cast<double>(average)};
}

AccurateMasses computeAccurateMasses(const std::vector<AtomCount>& atoms,
                                     const data::DataTables& tables, char separator,
                                     const std::vector<LabelAtoms>& labels) {
    return AtomDistribution::of(atoms, tables, separator, labels).masses();
}

} // namespace orvane::accurate
