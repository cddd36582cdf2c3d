#include "find/element_evidence.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orvane::find {

namespace {

// Intensity and intensity-weighted m/z of the peaks in [low, high].
struct Window {
    double intensity = 0;
    double centroid = 0;
};

Window windowOf(const measured::Spectrum& peaks, double low, double high) {
    Window window;
    double moment = 0;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (peaks.mz[i] >= low && peaks.mz[i] <= high && peaks.intensity[i] > 0) {
            window.intensity += peaks.intensity[i];
            moment += peaks.intensity[i] * peaks.mz[i];
        }
    }
    if (window.intensity > 0) {
        window.centroid = moment / window.intensity;
    }
    return window;
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Per atom: 37Cl/35Cl and 81Br/79Br of the natural abundances.
constexpr double chlorineRatio = 0.3199;
constexpr double bromineRatio = 0.9728;
// Between the heavy atoms' shifts (below 1.999 u) and carbon's and oxygen's (above 2.004 u).
constexpr double heavyShift = 2.0;
constexpr double strongM2 = 0.2;
constexpr double weakM2 = 0.03;

} // namespace

ElementEvidence elementEvidence(const measured::Spectrum& peaks, double target, int charge,
                                const MassTolerance& tolerance) {
    ElementEvidence evidence;
    const double z = std::abs(charge == 0 ? 1 : charge);
    const double reach =
        tolerance.milliDaltons ? tolerance.value / 1000 : target * tolerance.value * 1e-6;
    double tallest = 0;
    double m = 0;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (std::abs(peaks.mz[i] - target) <= reach && peaks.intensity[i] > tallest) {
            tallest = peaks.intensity[i];
            m = peaks.mz[i];
        }
    }
    if (!(tallest > 0)) {
        evidence.text = "no measured peak at the target";
        return evidence;
    }
    evidence.found = true;
    const double width = 0.02 / z;
    const Window m2 = windowOf(peaks, m + 2 / z - width, m + 2 / z + width);
    const Window m4 = windowOf(peaks, m + 4 / z - width, m + 4 / z + width);
    if (m4.intensity > 0) {
        evidence.m4Ratio = m4.intensity / tallest;
    }
    if (!(m2.intensity > 0)) {
        evidence.text = "no measured M+2: no Cl, Br or S";
        return evidence;
    }
    const double ratio = m2.intensity / tallest;
    const double shift = (m2.centroid - m) * z;
    evidence.m2Ratio = ratio;
    evidence.m2Shift = shift;
    std::string reading =
        "M+2 at " + fixed(ratio * 100, 1) + " % of M, +" + fixed(shift, 4) + " u: ";
    if (shift < heavyShift && ratio >= strongM2) {
        const long chlorine = std::lround(ratio / chlorineRatio);
        const long bromine = std::lround(ratio / bromineRatio);
        reading += "Cl or Br likely (about " + std::to_string(chlorine) + " Cl";
        if (bromine >= 1) {
            reading += ", or " + std::to_string(bromine) + " Br";
        }
        reading += ")";
    } else if (shift < heavyShift && ratio >= weakM2) {
        reading += "S (or Si) likely, no Cl or Br";
    } else {
        reading += "carbon and oxygen alone, no Cl or Br";
    }
    evidence.text = reading;
    return evidence;
}

} // namespace orvane::find
