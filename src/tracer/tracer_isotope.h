#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "accurate/element_isotopes.h"
#include "tracer/tracer_tables.h"

namespace orvane::tracer {

// One tracer isotope and what its labelled positions hold.
struct Tracer {
    std::string name; // "13C"
    int column = 0;   // the element's column in the tables
    std::string symbol;
    std::vector<accurate::Isotope> isotopes; // the element's natural ones, lightest first
    std::size_t index = 0;                   // of the tracer isotope in `isotopes`
    std::vector<double> purity;              // at labelled positions, like `isotopes`

    /// The tracer isotope's mass above the element's lightest.
    double massShift() const { return isotopes[index].mass - isotopes.front().mass; }
    /// The same in whole mass steps.
    long long nominalShift() const {
        return isotopes[index].massNumber - isotopes.front().massNumber;
    }
};

/// The element's natural isotopes ordered by mass number, lightest first.
std::vector<accurate::Isotope> lightestFirst(const accurate::ElementIsotopes& element);

/// The tracers of `tracers` ("13C", "13C,15N"; "D" for 2H) with the purities of `purity`
/// (see CorrectionSettings). Raises text::Error for a name that is no natural isotope of an
/// element of the tables, a tracer named twice, more than two tracers, and a purity that is
/// not numbers from 0 to 1 adding up to 1 (within 1e-6), has not one number per isotope of
/// the element, or a percentage not above 0 and at most 100.
std::vector<Tracer> readTracers(const TracerTables& tables, std::string_view tracers,
                                std::string_view purity);

} // namespace orvane::tracer
