#pragma once

#include <string>

namespace orvane::ions {

// The texts of the high-resolution boxes an ion's profile and match are read from.
struct ProfileBoxes {
    std::string resolvingPowerText = "60000"; // m/z over the peak's full width at half height
    std::string coverageText = "0.9999";      // of the fine structure
    std::string toleranceText;                // ppm of a measured peak's match; "" one FWHM
};

} // namespace orvane::ions
