#include "profile/separated_fine_peaks.h"

#include <algorithm>
#include <cmath>

namespace orvane::profile {

bool finePeaksSeparate(const Profile& profile, int charge) {
    if (!profile.fromFineStructure || !(profile.resolvingPower > 0)) {
        return false;
    }
    const double sameCluster = 0.5 / chargeMagnitude(charge);
    for (std::size_t k = 1; k < profile.sticks.size(); ++k) {
        const double gap = profile.sticks[k].mz - profile.sticks[k - 1].mz;
        const double fwhm = std::abs(profile.sticks[k].mz) / profile.resolvingPower;
        if (gap > fwhm && gap < sameCluster) {
            return true;
        }
    }
    return false;
}

StickSpan sticksWithin(const std::vector<Peak>& sticks, double low, double high) {
    const auto first = std::lower_bound(sticks.begin(), sticks.end(), low,
                                        [](const Peak& peak, double mz) { return peak.mz < mz; });
    const auto last = std::upper_bound(first, sticks.end(), high,
                                       [](double mz, const Peak& peak) { return mz < peak.mz; });
    return {static_cast<std::size_t>(first - sticks.begin()),
            static_cast<std::size_t>(last - sticks.begin())};
}

} // namespace orvane::profile
