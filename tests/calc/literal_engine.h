#pragma once

#include <string>
#include <vector>

#include "calc/composition.h"
#include "calc/isotope_engine.h"
#include "calc_test_support.h"
#include "data/text_grid.h"

namespace orvane::calc::support {

// What the plain engine leaves behind; fields are written as the run goes, so after an
// error they hold what was written before it.
struct LiteralRun {
    long long n0 = 0;
    long long w = 0;
    std::vector<double> p;
    double centroid = 0;
    std::vector<double> grid; // the MS data grid's values after its last refill
    int gridRefills = 0;
    MsRangeFields msRange;
};

/// The engine as the steps describe it, with no shortcut: every slot of every entry of
/// the window at every atom step, Q cleared whole, each term stored at once. Indices
/// outside the array are clipped or dropped. Raises text::Error like the engine.
void runLiteralEngine(const Composition& composition, const data::TextGrid& isotopes,
                      char separator, LiteralRun& run);

} // namespace orvane::calc::support
