#pragma once

#include "measured/spectrum.h"

namespace orvane::ions {

// A measured spectrum set beside the theory, as the ion's match reads it.
struct MeasuredView {
    const measured::Spectrum& points;
    bool profileData = false; // a profile scan, whose peaks are read from its points
};

} // namespace orvane::ions
