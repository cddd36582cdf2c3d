#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tracer/correction_settings.h"
#include "tracer/isotope_table.h"
#include "tracer/measurement_table.h"
#include "tracer/metabolite_table.h"
#include "tracer/tracer_tables.h"

namespace orvane::tracer {

// What one correction reads: the measurements, the metabolites and derivatives they name
// (AccuCor's layout carries its formulas and needs neither), the settings, and the
// isotopes to correct with when not the loaded tables'.
struct CorrectionInput {
    MeasurementTable measurements;
    NamedFormulas metabolites;
    NamedFormulas derivatives;
    CorrectionSettings settings;
    std::optional<IsotopeTable> isotopeTable; // a peer's isotope table; isotope labels keep
                                              // the loaded tables' isotopes
};

// One isotopologue of one metabolite in one sample, corrected; IsoCor's columns.
struct CorrectedRow {
    std::string sample;
    std::string metabolite;
    std::string derivative;
    std::string formula;      // the metabolite's formula as written
    std::vector<int> counts;  // tracer atoms per tracer
    double area = 0;          // measured; 0 for an isotopologue the file does not list
    double correctedArea = 0; // the non-negative least-squares solution
    double fraction = 0;      // correctedArea over the metabolite's sum (NaN for a sum of 0)
    double residuum = 0;      // measured minus explained, over the measured sum (NaN for 0)
    std::vector<double> meanEnrichment; // per tracer: mean labelled share of its positions
};

// The corrected rows of every measured metabolite and sample, each metabolite's
// isotopologues complete and in order, metabolites and samples in the order the file first
// names them.
struct CorrectionResult {
    std::vector<std::string> tracers; // "13C", "15N"
    std::vector<std::string> samples;
    std::vector<CorrectedRow> rows;
};

/// The isotopologue as IsoCor's isotopologue column writes it: "3"; "2,1" for two tracers.
std::string isotopologueText(const std::vector<int>& counts);

/// The isotopologue as AccuCor's IsotopeLabel writes it: "C12 PARENT" for the unlabelled
/// one whatever the tracer, "C13-label-3", "D-label-2"; for two tracers "C13N15-label-2-1".
std::string accuCorLabel(const std::vector<int>& counts, const std::vector<std::string>& tracers);

/// Corrects every measured distribution for the natural isotopes of all its atoms and the
/// tracer's impurity: builds each metabolite's correction matrix from the tables' isotopes
/// (or `input.isotopeTable`'s for every element of the formulas) and solves it by
/// non-negative least squares, one sample at a time; isotopologues the file leaves out count
/// as measured 0. Raises text::Error naming the file, line and column of an unknown
/// metabolite or derivative, a formula that cannot be read, lacks the tracer element or
/// holds an element the isotope table lacks, an isotopologue that cannot be read or that
/// the formula cannot hold (M+7 of C6), one measured twice, and the tracers' and purities'
/// errors; at whole mass steps two tracers are refused, since their isotopologues fall into
/// the same peaks.
CorrectionResult correct(const TracerTables& tables, const CorrectionInput& input);

} // namespace orvane::tracer
