#pragma once

#include <functional>
#include <string>

#include "calc/composition.h"
#include "calc/ms_data_grid.h"
#include "calc/pattern_state.h"
#include "data/text_grid.h"

namespace orvane::calc {

// Told how far the engine is every few thousand atom steps (sooner when the steps are
// long); returning false cancels.
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
/// succeeds; errors raise text::Error, a cancel raises EngineCancelled. A formula whose
/// array would exceed maxPatternLength, or whose N0 or W leave the 32-bit range, is
/// refused before anything is written ("The formula is too large to compute (<length>
/// mass steps)."), and so is one whose length is not positive, which only negative
/// weights or widths give ("The formula cannot be computed (<length> mass steps).").
/// The abundance cells are read with `separator` as the decimal separator.
void simulateIsotopePattern(const Composition& composition, const data::TextGrid& isotopes,
                            char separator, PatternState& pattern, MsDataGrid& msData,
                            MsRangeTexts& msRange, const EngineProgress& progress = {});

} // namespace orvane::calc
