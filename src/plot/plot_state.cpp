#include "plot/plot_state.h"

#include "text/extended.h"
#include "text/rounding.h"

namespace orvane::plot {

// The product comes before the division, both in extended precision, so that the
// frame lands on the same pixels for every range.

long long px(const PlotState& state, long double x) {
    const text::Extended scaled = (x - state.xlo) * state.imageWidth;
    const text::Extended span = static_cast<text::Extended>(state.xhi) - state.xlo;
    return text::roundHalfEven(text::checkedDivide(scaled, span));
}

long long py(const PlotState& state, long double y) {
    const text::Extended scaled = (y - state.ylo) * state.imageHeight;
    const text::Extended span = static_cast<text::Extended>(state.yhi) - state.ylo;
    return state.imageHeight - text::roundHalfEven(text::checkedDivide(scaled, span));
}

} // namespace orvane::plot
