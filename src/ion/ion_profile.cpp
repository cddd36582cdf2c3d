#include "ion/ion_profile.h"

#include <cmath>
#include <limits>

#include "accurate/element_isotopes.h"
#include "profile/fine_structure.h"
#include "text/error.h"
#include "text/trim.h"

namespace orvane::ions {

profile::ProfileInput profileInputOf(const data::DataTables& tables,
                                     const std::vector<accurate::AtomCount>& ionAtoms,
                                     const std::vector<accurate::LabelAtoms>& ionLabels, int charge,
                                     char separator) {
    profile::ProfileInput input;
    input.charge = charge;
    for (const accurate::AtomCount& count : ionAtoms) {
        const accurate::ElementIsotopes element =
            accurate::readElementIsotopes(tables, count.column, separator);
        if (count.atoms > std::numeric_limits<int>::max()) {
            throw text::Error("The ion has too many atoms of " + element.symbol +
                              " for a fine structure.");
        }
        input.elements.push_back({element.symbol, static_cast<int>(count.atoms), element.isotopes});
    }
    // a labelled position is an element of its own, named by its element so that the fine
    // peaks read "12C1" where a [13C] position holds the natural isotope
    for (const accurate::LabelAtoms& label : ionLabels) {
        if (label.atoms > std::numeric_limits<int>::max()) {
            throw text::Error("The ion has too many atoms of " + label.isotopes.symbol +
                              " for a fine structure.");
        }
        if (label.atoms > 0) {
            input.elements.push_back(
                {std::string(text::trimBlanks(tables.elements.cell(label.column, data::SymbolRow))),
                 static_cast<int>(label.atoms), label.isotopes.isotopes});
        }
    }
    return input;
}

profile::ProfileInput profileInputFor(const data::DataTables& tables, const IonResult& ion,
                                      char separator) {
    profile::ProfileInput input =
        profileInputOf(tables, ion.ionAtoms, ion.ionLabels, ion.charge, separator);
    for (const IonCluster& cluster : ion.clusters) {
        input.clusters.push_back({cluster.mz, cluster.probability, cluster.variance});
    }
    return input;
}

std::vector<measured::TheoreticalPeak> fineLines(const profile::ProfileInput& input,
                                                 double coverage, std::size_t maxPeaks) {
    std::vector<measured::TheoreticalPeak> lines;
    const std::vector<profile::AccurateCluster>& clusters = input.clusters;
    const profile::FineStructure fine =
        profile::computeFineStructure(input.elements, input.charge, coverage, maxPeaks);
    if (fine.tooMany || fine.peaks.empty() || clusters.empty()) {
        for (std::size_t c = 0; c < clusters.size(); ++c) {
            lines.push_back({clusters[c].mz, clusters[c].probability, c});
        }
        return lines;
    }
    std::size_t cluster = 0; // both ascend in m/z
    for (const profile::FinePeak& peak : fine.peaks) {
        while (cluster + 1 < clusters.size() && std::abs(clusters[cluster + 1].mz - peak.mz) <
                                                    std::abs(clusters[cluster].mz - peak.mz)) {
            ++cluster;
        }
        lines.push_back({peak.mz, peak.probability, cluster});
    }
    return lines;
}

} // namespace orvane::ions
