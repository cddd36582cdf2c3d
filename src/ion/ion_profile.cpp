#include "ion/ion_profile.h"

#include <limits>

#include "accurate/element_isotopes.h"
#include "text/error.h"
#include "text/trim.h"

namespace orvane::ions {

profile::ProfileInput profileInputFor(const data::DataTables& tables, const IonResult& ion,
                                      char separator) {
    profile::ProfileInput input;
    input.charge = ion.charge;
    for (const accurate::AtomCount& count : ion.ionAtoms) {
        const accurate::ElementIsotopes element =
            accurate::readElementIsotopes(tables, count.column, separator);
        if (count.atoms > std::numeric_limits<int>::max()) {
            throw text::Error("The ion has too many atoms of " + element.symbol +
                              " for a fine structure.");
        }
        profile::ElementAtoms atoms{element.symbol, static_cast<int>(count.atoms), {}};
        for (const accurate::Isotope& isotope : element.isotopes) {
            atoms.isotopes.push_back({isotope.mass, isotope.probability, isotope.massNumber});
        }
        input.elements.push_back(std::move(atoms));
    }
    // a labelled position is an element of its own, named by its element so that the fine
    // peaks read "12C1" where a [13C] position holds the natural isotope
    for (const accurate::LabelAtoms& label : ion.ionLabels) {
        if (label.atoms > std::numeric_limits<int>::max()) {
            throw text::Error("The ion has too many atoms of " + label.isotopes.symbol +
                              " for a fine structure.");
        }
        profile::ElementAtoms atoms{
            std::string(text::trimBlanks(tables.elements.cell(label.column, data::SymbolRow))),
            static_cast<int>(label.atoms),
            {}};
        for (const accurate::Isotope& isotope : label.isotopes.isotopes) {
            atoms.isotopes.push_back({isotope.mass, isotope.probability, isotope.massNumber});
        }
        if (label.atoms > 0) {
            input.elements.push_back(std::move(atoms));
        }
    }
    for (const IonCluster& cluster : ion.clusters) {
        input.clusters.push_back({cluster.mz, cluster.probability, cluster.variance});
    }
    return input;
}

} // namespace orvane::ions
