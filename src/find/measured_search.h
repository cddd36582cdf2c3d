#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/data_tables.h"
#include "find/element_evidence.h"
#include "find/formula_search.h"
#include "find/isotope_score.h"
#include "measured/spectrum.h"

namespace orvane::find {

// A search and what a measured spectrum says of its candidates, as every front end runs it.
struct MeasuredSearch {
    FindResult result;
    bool scored = false;                     // the candidates are ranked by their isotope score too
    std::optional<ElementEvidence> evidence; // what the measured cluster shows, when scored
    std::vector<std::string> notices;        // the charge the spacing shows; no peak at the target
};

/// The formulas of the query (findFormulas) and, with measured peaks (not nullptr), each
/// candidate scored by its pattern against them (scoreCandidates), the element evidence of
/// the measured cluster and a notice where its spacing shows another charge. A spectrum with
/// no peak within the query's tolerance of the target says nothing of the candidates: they
/// keep their rank by mass, unscored, and a notice says so. A cancelled search is not scored.
/// Raises text::Error as findFormulas does.
MeasuredSearch searchMeasured(const FindQuery& query, const data::DataTables& tables,
                              char separator, const measured::Spectrum* peaks,
                              const IsotopeScoreSettings& settings,
                              const FindProgress& progress = {});

/// "the measured spectrum has no peak within 5 ppm of m/z 304.1543; ranked by mass alone"
/// when no measured peak lies within the tolerance of the target; "" otherwise.
std::string noTargetPeakNotice(const measured::Spectrum& peaks, double target,
                               const MassTolerance& tolerance);

} // namespace orvane::find
