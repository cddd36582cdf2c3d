#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane::measured {

/// The most points a spectrum may hold: a reader refuses more before it stores them
/// (800 MB as m/z and intensity), as no instrument records that many in one spectrum.
inline constexpr std::size_t maxSpectrumPoints = 50'000'000;

// The points of one measured spectrum, m/z ascending; mz and intensity have the same size.
struct Spectrum {
    std::vector<double> mz;
    std::vector<double> intensity;

    std::size_t size() const { return mz.size(); }
};

/// Refuses points that no reader accepts, as a peak list's lines are refused: raises
/// text::Error "<where>: point <n>: ..." (n from 1, in the given order) for the first point
/// whose m/z is not a finite number above 0 or whose intensity is not a finite number of 0
/// or more. A NaN would break the sort and every sum after it.
void requireValidPoints(const Spectrum& spectrum, const std::string& where);

/// Sorts the points by m/z (equal m/z keep their order); the intensities move with them.
void sortByMz(Spectrum& spectrum);

/// The sum of the intensities of the points with mzLow <= m/z <= mzHigh (0 when there is none).
double summedIntensity(const Spectrum& spectrum, double mzLow, double mzHigh);

/// The sum of all intensities.
double summedIntensity(const Spectrum& spectrum);

/// The index of the tallest point above 0 within `window` of `mz` (the lowest m/z among
/// equals); nothing when there is none.
std::optional<std::size_t> tallestNear(const Spectrum& spectrum, double mz, double window);

} // namespace orvane::measured
