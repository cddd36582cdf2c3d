#include "calc/shift_tail_bound.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::calc {

namespace {

// t from 0.02 to about 8, each a quarter above the last: the best t is near log(j / mean),
// about 4 for a small molecule's thin tail and below 0.1 for a large protein's wide one.
constexpr std::array<double, ShiftTailBound::pointCount> points = [] {
    std::array<double, ShiftTailBound::pointCount> t{};
    double next = 0.02;
    for (double& point : t) {
        point = next;
        next *= 1.25;
    }
    return t;
}();

} // namespace

ShiftTailBound::AtomLogs ShiftTailBound::atomLogs(
    const std::array<IsotopeSlot, PatternConvolution::slotCount>& slots) {
    AtomLogs atom;
    double total = 0;
    for (const IsotopeSlot& slot : slots) {
        if (slot.abundance < 0 || slot.offset < 0) {
            return atom;
        }
        total += slot.abundance;
    }
    if (!(total > 0) || !std::isfinite(total)) {
        return atom;
    }
    for (std::size_t i = 0; i < pointCount; ++i) {
        double moment = 0;
        for (const IsotopeSlot& slot : slots) {
            if (slot.abundance > 0) {
                atom.highest = std::max(atom.highest, static_cast<double>(slot.offset));
                moment += slot.abundance / total *
                          std::exp(points[i] * static_cast<double>(slot.offset));
            }
        }
        // an infinite log (an offset too far for this t) only rules this t out
        atom.logs[i] = std::log(moment);
    }
    atom.bounded = true;
    return atom;
}

void ShiftTailBound::add(const AtomLogs& atom, double atoms) {
    for (std::size_t i = 0; i < pointCount; ++i) {
        m_logs[i] += atoms * atom.logs[i];
    }
    m_reach += atoms * atom.highest;
}

long long ShiftTailBound::shiftAbove(double logShare) const {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < pointCount; ++i) {
        // exp(-t(j + 1) + logs) <= share once j + 1 >= (logs - logShare) / t
        best = std::min(best, (m_logs[i] - logShare) / points[i] - 1);
    }
    best = std::min(best, m_reach);
    if (!(best < 1e15)) {
        return std::numeric_limits<long long>::max();
    }
    return std::max(static_cast<long long>(std::ceil(best)), 0LL);
}

} // namespace orvane::calc
