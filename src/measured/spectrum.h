#pragma once

#include <cstddef>
#include <vector>

namespace orvane::measured {

// The points of one measured spectrum, m/z ascending; mz and intensity have the same size.
struct Spectrum {
    std::vector<double> mz;
    std::vector<double> intensity;

    std::size_t size() const { return mz.size(); }
};

/// Sorts the points by m/z (equal m/z keep their order); the intensities move with them.
void sortByMz(Spectrum& spectrum);

/// The sum of the intensities of the points with mzLow <= m/z <= mzHigh (0 when there is none).
double summedIntensity(const Spectrum& spectrum, double mzLow, double mzHigh);

/// The sum of all intensities.
double summedIntensity(const Spectrum& spectrum);

} // namespace orvane::measured
