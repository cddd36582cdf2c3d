#include "session/ion_profile.h"

#include <limits>

#include "accurate/element_isotopes.h"
#include "text/error.h"

namespace orvane::session {

profile::ProfileInput profileInputFor(const SessionState& state, const IonResult& ion,
                                      char separator) {
    profile::ProfileInput input;
    input.charge = ion.charge;
    for (const accurate::AtomCount& count : ion.ionAtoms) {
        const accurate::ElementIsotopes element =
            accurate::readElementIsotopes(state.tables, count.column, separator);
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
    for (const IonCluster& cluster : ion.clusters) {
        input.clusters.push_back({cluster.mz, cluster.probability, cluster.variance});
    }
    return input;
}

} // namespace orvane::session
