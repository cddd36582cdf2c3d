#pragma once

#include <functional>
#include <string>

#include "calc/composition.h"
#include "calc/ms_data_grid.h"
#include "calc/pattern_state.h"
#include "data/text_grid.h"

namespace orvane::calc {

// Told every few thousand atom steps how far the engine is; returning false cancels.
using EngineProgress = std::function<bool(long long stepsDone, long long stepsTotal)>;

// Raised when the progress callback cancels; the pattern state is left as it was.
struct EngineCancelled {};

// The texts of the hidden MS-range fields, rewritten when an atom step runs.
struct MsRangeTexts {
    std::string edit5 = "Edit5";
    std::string edit6 = "Edit6";
};

/// The largest pattern array (3W + N0 + 1 entries) the engine will build.
inline constexpr long long maxPatternLength = 20'000'000;

/// IsotopicSimulationforMassSpec1Click with its Isotope1Click atom steps: computes N0,
/// W, the pattern convolved atom by atom, normalised to a tallest entry of exactly 100,
/// and its centroid index. The MS data grid is refilled after every element and the
/// MS-range texts at every atom step. The pattern state is replaced only when the run
/// succeeds; errors raise text::Error, a cancel raises EngineCancelled.
void simulateIsotopePattern(const Composition& composition, const data::TextGrid& isotopes,
                            PatternState& pattern, MsDataGrid& msData, MsRangeTexts& msRange,
                            const EngineProgress& progress = {});

} // namespace orvane::calc
