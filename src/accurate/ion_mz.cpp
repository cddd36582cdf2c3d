#include "accurate/ion_mz.h"

namespace orvane::accurate {

double mzOf(double mass, int signedCharge) {
    if (signedCharge == 0) {
        return mass;
    }
    // a cation has lost z electrons, an anion gained |z|: both are mass - z me
    const long double ion =
        static_cast<long double>(mass) - static_cast<long double>(signedCharge) * electronMass;
    const long double charges = signedCharge < 0 ? -static_cast<long double>(signedCharge)
                                                 : static_cast<long double>(signedCharge);
    return static_cast<double>(ion / charges);
}

} // namespace orvane::accurate
