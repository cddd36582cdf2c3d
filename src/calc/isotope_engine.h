#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "calc/cell_readings.h"
#include "calc/composition.h"
#include "calc/isotope_columns_memo.h"
#include "calc/lane_terms.h"
#include "calc/ms_data_grid.h"
#include "calc/pattern_state.h"
#include "data/text_grid.h"

namespace orvane::calc {

// Told how far the engine is every few thousand atom steps (sooner when the steps are
// long), and once at the end, in units of work (an atom step or a term summed) done of the
// estimated whole, so that half done is about half the time; returning false cancels.
using EngineProgress = std::function<bool(long long stepsDone, long long stepsTotal)>;

// Raised when the progress callback cancels; the pattern state is left as it was.
struct EngineCancelled {};

// The MS range the hidden fields show while atom steps run: N0 - 2W and N0 + 2W.
struct MsRange {
    long long lower = 0;
    long long upper = 0;
    friend bool operator==(const MsRange&, const MsRange&) = default;
};

// What the engine reads: the working elements and the isotope table, whose abundance cells
// are read with `separator` as the decimal separator.
struct EngineInput {
    const std::vector<WorkingElement>& elements;
    const data::TextGrid& isotopes;
    char separator;
    // Threads for the long atom steps, 1 or 2; the pattern is the same to the last bit for
    // either. On the 2-core development machine (AMD EPYC) two take titin from 4.5 s to
    // 2.42-2.6 s, a 450 kDa protein from 152-157 ms to 93-104 ms and albumin from 11.7-12 ms
    // to 7.8-8 ms; on a 2-core Intel Xeon VM titin from 2.9 s to 1.6-1.7 s, the protein from
    // 93-98 ms to 56-62 ms and albumin from 6.9-7.7 ms to 5.1-5.7 ms. Where one thread has
    // lately been quicker (a machine busy with other work) two take the steps as one does.
    int threads = 1;
    // Single steps with fewer terms stay on one thread: handing half a step over costs
    // about as much as 200 terms. Of 200 to 1000, 400 gave albumin and titin their shortest
    // times while the second core was free. Blocks of steps, with one hand-over for 16 or
    // 32, are shared from a quarter of it a step. Tests set 1 to share all they can.
    long long minimumSplitTerms = 400;
    // Tests: blocks of steps are shared even where one thread has lately been quicker, so
    // that their bits are checked whatever the machine does.
    bool blocksWhileAlone = false;
    // The vector lanes the bulk of a step is summed on, and whether the tails avoid the
    // x87's subnormal assists (by default as the processor wants it); tests and benchmarks
    // set them, and every way gives the same bits.
    Lanes lanes = widestLanes();
    std::optional<bool> avoidsAssists = std::nullopt;
    // Whether msData is refilled after every element; a batch row, which shows no grid,
    // leaves it as it was.
    bool fillsMsData = true;
    // Only N0, W and the centroid are wanted (a batch row): the entries far above the peak,
    // which cannot change the centroid's sums, are not formed and P holds 0 there, and
    // msData is left as it was. N0, W and the centroid are those of the whole run to the
    // last bit; where that cannot be shown the whole run is made.
    bool centroidOnly = false;
    // Where given, the widths and isotope slots read from the table's columns are kept
    // here for the next run and taken from it while the table is unchanged.
    IsotopeColumnsMemo* columnsMemo = nullptr;
    // Entries formed above the cut the tail bound gives; tests lower it to make the tail too
    // heavy, which sends the run back to the whole.
    long long centroidCutMargin = 0;
};

/// The largest pattern array (3W + N0 + 1 entries) the engine will build.
inline constexpr long long maxPatternLength = 20'000'000;

/// IsotopicSimulationforMassSpec1Click with its Isotope1Click atom steps: returns the
/// pattern state (N0, W, the pattern convolved atom by atom, normalised to a tallest entry
/// of exactly 100, and its centroid index). While it runs it refills `msData` after every
/// element and sets `msRange` at every atom step; those stay as they are when a run fails
/// or is cancelled. `isotopeReadings` keeps the isotope cells read as numbers for the next
/// run. Errors raise text::Error, a cancel raises EngineCancelled. A formula whose array
/// would exceed maxPatternLength, or whose N0 or W leave the 32-bit range, is refused before
/// anything is written ("The formula is too large to compute (<length> mass steps)."), and
/// so is one whose length is not positive, which only negative weights or widths give ("The
/// formula cannot be computed (<length> mass steps).").
PatternState simulateIsotopePattern(const EngineInput& input, CellReadings& isotopeReadings,
                                    MsDataGrid& msData, std::optional<MsRange>& msRange,
                                    const EngineProgress& progress = {});

} // namespace orvane::calc
