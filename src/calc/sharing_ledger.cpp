#include "calc/sharing_ledger.h"

#include <algorithm>

namespace orvane::calc {

void SharingLedger::ran(Clock::duration own, Clock::duration waited, Clock::time_point now) {
    m_balance = std::min(m_balance + own - waited, credit);
    if (m_balance == credit) {
        m_alone = shortestAlone;
    }
    settle(now);
}

void SharingLedger::missed(Clock::time_point now) {
    m_balance -= wakeUp;
    settle(now);
}

void SharingLedger::settle(Clock::time_point now) {
    if (m_balance >= -debt) {
        return;
    }
    m_aloneUntil = now + m_alone;
    m_alone = std::min(2 * m_alone, longestAlone);
    m_balance = Clock::duration{0};
}

} // namespace orvane::calc
