#include "tracer/correction_settings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace orvane::tracer {

std::optional<Instrument> instrumentNamed(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "orbitrap") {
        return Instrument::Orbitrap;
    }
    if (lower == "ftcr" || lower == "ft-icr" || lower == "fticr") {
        return Instrument::FtIcr;
    }
    if (lower == "constant" || lower == "tof") {
        return Instrument::Constant;
    }
    return std::nullopt;
}

std::string_view instrumentName(Instrument instrument) {
    switch (instrument) {
    case Instrument::Orbitrap:
        return "orbitrap";
    case Instrument::FtIcr:
        return "ftcr";
    case Instrument::Constant:
        return "constant";
    }
    return "orbitrap";
}

double correctionLimit(const HighResolution& resolution, double mass, int charge) {
    const double z = std::abs(charge == 0 ? 1 : charge);
    const double mz = mass / z;
    const double r = resolution.resolvingPower;
    double limit = 0;
    switch (resolution.instrument) {
    case Instrument::Orbitrap:
        limit = 1.66 * std::pow(mz, 1.5) / (r * std::sqrt(resolution.atMz));
        break;
    case Instrument::FtIcr:
        limit = 1.66 * mz * mz / (r * resolution.atMz);
        break;
    case Instrument::Constant:
        limit = 1.66 * mz / r;
        break;
    }
    return limit * z;
}

} // namespace orvane::tracer
