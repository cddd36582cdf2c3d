#pragma once

#include <optional>
#include <vector>

#include "tracer/atom_block.h"
#include "tracer/nonnegative_least_squares.h"
#include "tracer/tracer_isotope.h"

namespace orvane::tracer {

// The isotopologues of a metabolite and how each shows in the measured peaks: column j is
// what isotopologue j (its count of tracer atoms per tracer) gives to the peak of each
// isotopologue (row i), natural isotopes, impurity and resolving power included.
struct CorrectionMatrix {
    std::vector<std::vector<int>> isotopologues; // tracer counts, the last tracer fastest
    Matrix matrix;                               // isotopologues x isotopologues
};

/// The matrix of a metabolite whose `tracerCounts[t]` atoms of each tracer's element can be
/// labelled, beside the `background` atoms (its other elements, its labels and the whole
/// derivative, all at their own abundances). The peak of isotopologue i lies at the lightest
/// mass plus each tracer's shift times its count; without `limit` every variant as many
/// whole mass steps above the lightest falls into it, with a limit only those whose mass is
/// within `limit` u of it. Unlabelled positions hold the element's natural isotopes, or
/// with `correctTracerNaturalAbundance` false its lightest isotope.
CorrectionMatrix correctionMatrix(const std::vector<AtomBlock>& background,
                                  const std::vector<Tracer>& tracers,
                                  const std::vector<long long>& tracerCounts,
                                  bool correctTracerNaturalAbundance, std::optional<double> limit);

} // namespace orvane::tracer
