#include "tracer/tracer_tables.h"

#include "text/error.h"
#include "tracer/tracer_isotope.h"

namespace orvane::tracer {

std::vector<accurate::Isotope> naturalIsotopes(const TracerTables& tables, int column) {
    if (tables.isotopeTable == nullptr) {
        return lightestFirst(tables.isotopes.of(column));
    }
    const std::string& symbol = tables.reader.symbols.at(static_cast<std::size_t>(column));
    const std::vector<accurate::Isotope>* isotopes = tables.isotopeTable->find(symbol);
    if (isotopes == nullptr) {
        throw text::Error("the isotope table " + tables.isotopeTable->fileName +
                          " holds no isotope of " + symbol);
    }
    return *isotopes;
}

} // namespace orvane::tracer
