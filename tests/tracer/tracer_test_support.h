#pragma once

#include <stdexcept>
#include <string>

#include "accurate/element_isotopes.h"
#include "accurate/label_isotopes.h"
#include "accurate/parsed_isotopes.h"
#include "data/abundance_file.h"
#include "data/data_tables.h"
#include "data/element_file.h"
#include "data/isotope_file.h"
#include "data/mass_file.h"
#include "formula/count_range.h"
#include "formula/element_symbols.h"
#include "formula/formula_reader.h"
#include "support/recording_notifier.h"
#include "text/error.h"
#include "tracer/isotopologue_correction.h"
#include "tracer/tracer_tables.h"

namespace orvane::tracer::support {

// The shipped data files loaded as the session loads them, with the reader's view and the
// parsed isotopes, once for all the tests.
struct ShippedTables {
    data::DataTables tables;
    formula::ReaderTables reader;
    accurate::ParsedIsotopes isotopes;

    ShippedTables() {
        testing_support::RecordingNotifier notifier;
        data::loadElementFile(ORVANE_SHARE_DIR, tables, notifier);
        data::loadAbundanceFile(ORVANE_SHARE_DIR, tables, notifier);
        data::loadMassFile(ORVANE_SHARE_DIR, tables);
        data::loadIsotopeFile(ORVANE_SHARE_DIR, tables);
        if (!notifier.notices.empty() || !tables.massFileProblem.empty()) {
            throw std::runtime_error("the shipped data files did not load");
        }
        std::vector<std::string> symbols = formula::symbolsOf(tables.elements);
        formula::SymbolIndex index(symbols);
        reader = {std::move(symbols),
                  accurate::massNumbersByColumn(tables, '.'),
                  accurate::labelMassNumbersByColumn(tables, '.'),
                  formula::weightsOf(tables.elements, '.'),
                  std::move(index),
                  formula::countRangeWeights(tables.elements, '.')};
        isotopes = accurate::ParsedIsotopes(tables, '.');
    }
};

inline TracerTables shippedTables() {
    static const ShippedTables shipped;
    return {shipped.tables, shipped.reader, shipped.isotopes, '.'};
}

/// The message of the text::Error that `run` raises, or "no error".
template <typename Run> std::string errorOf(Run run) {
    try {
        run();
    } catch (const text::Error& error) {
        return error.what();
    }
    return "no error";
}

/// A correction of measurements and metabolites given as file texts.
inline CorrectionResult correctTexts(const std::string& measurements,
                                     const std::string& metabolites, CorrectionSettings settings,
                                     const std::string& derivatives = "") {
    CorrectionInput input;
    input.measurements = readMeasurements(measurements, "measurements.tsv");
    if (!metabolites.empty()) {
        input.metabolites = readNamedFormulas(metabolites, "metabolites.tsv", true);
    }
    if (!derivatives.empty()) {
        input.derivatives = readNamedFormulas(derivatives, "derivatives.tsv", false);
    }
    input.settings = std::move(settings);
    return correct(shippedTables(), input);
}

} // namespace orvane::tracer::support
