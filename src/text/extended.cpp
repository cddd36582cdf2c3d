#include "text/extended.h"

#include <cfenv>
#include <cmath>

#include "text/error.h"

namespace orvane::text {

namespace {

constexpr int checkedFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

} // namespace

void clearFloatFlags() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

void throwOnFloatFlags() {
    const int raised = std::fetestexcept(checkedFlags);
    if (raised == 0) {
        return;
    }
    // a reported error must not be reported again by the next check
    std::feclearexcept(checkedFlags);
    if ((raised & FE_DIVBYZERO) != 0) {
        throw Error::divisionByZero();
    }
    if ((raised & FE_INVALID) != 0) {
        throw Error::invalidOperation();
    }
    throw Error::overflow();
}

// The outcome is decided from the operands and the result themselves, not from the
// sticky flags, so the compiler cannot move the test away from the division.
Extended checkedDivide(Extended a, Extended b) {
    if (std::isnan(a) || std::isnan(b)) {
        throw Error::invalidOperation();
    }
    if (b == 0.0L) {
        if (a == 0.0L || std::isinf(a)) {
            throw Error::invalidOperation();
        }
        throw Error::divisionByZero();
    }
    if (std::isinf(a) && std::isinf(b)) {
        throw Error::invalidOperation();
    }
    const Extended quotient = a / b;
    if (std::isinf(quotient) && !std::isinf(a)) {
        throw Error::overflow();
    }
    return quotient;
}

double storeDouble(Extended value) {
    if (std::isnan(value)) {
        throw Error::invalidOperation();
    }
    // a finite value just above the largest double may still round down to it; only
    // the rounded result tells whether the store overflows
    const double stored = static_cast<double>(value);
    if (std::isinf(stored)) {
        throw Error::overflow();
    }
    return stored;
}

} // namespace orvane::text
