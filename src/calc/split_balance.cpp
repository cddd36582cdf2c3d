#include "calc/split_balance.h"

#include <algorithm>
#include <cmath>

namespace orvane::calc {

long long SplitBalance::lean() const {
    return std::llround(m_lean);
}

void SplitBalance::took(int steps, long long entries, Clock::duration lower,
                        Clock::duration upperLate) {
    if (steps <= 0 || entries <= 0) {
        return;
    }
    const double lowerNs = std::chrono::duration<double, std::nano>(lower).count();
    const double lateNs = std::chrono::duration<double, std::nano>(upperLate).count();
    // both halves' time over all their entries: what one entry costs
    const double perEntry = (2 * lowerNs + lateNs) / static_cast<double>(entries);
    if (!(perEntry > 0)) {
        return;
    }
    // One entry more below the middle is one more in each step of the lower half and one
    // fewer in the upper: the upper half ends 2 * steps * perEntry sooner against the lower.
    // Half the way there each block, so that the noise of single blocks averages out.
    const double move = lateNs / (2 * steps * perEntry) / 2;
    m_lean = std::clamp(m_lean + std::clamp(move, -mostMove, mostMove), -mostLean, mostLean);
}

} // namespace orvane::calc
