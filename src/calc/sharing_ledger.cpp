#include "calc/sharing_ledger.h"

#include <algorithm>

namespace orvane::calc {

SharingLedger::Way SharingLedger::next() {
    if (!m_trying) {
        // each way is measured once before either is chosen
        if (m_aloneFigure.terms == 0) {
            startTry(Way::Alone);
        } else if (m_sharedFigure.terms == 0) {
            startTry(Way::Shared);
        } else if (++m_sinceTry >= (m_sharing ? aloneTryEvery : m_sharedTryEvery)) {
            m_sinceTry = 0;
            startTry(m_sharing ? Way::Alone : Way::Shared);
        }
    }
    if (m_trying) {
        return m_tryWay;
    }
    return m_sharing ? Way::Shared : Way::Alone;
}

void SharingLedger::startTry(Way way) {
    m_tryWay = way;
    m_trying = true;
    // alone needs no waking; sharing is measured the block after the worker ran a half
    m_warm = way == Way::Alone;
    m_warmUpLeft = mostWarmUp;
}

void SharingLedger::took(Way way, long long terms, Clock::duration elapsed, bool workerRanAHalf) {
    if (terms <= 0) {
        return;
    }
    bool tried = false;
    if (m_trying && way == m_tryWay) {
        if (!m_warm && --m_warmUpLeft > 0) {
            m_warm = workerRanAHalf;
            return; // the worker is being woken: not counted
        }
        m_trying = false;
        tried = true;
    }
    const double nanoseconds = std::chrono::duration<double, std::nano>(elapsed).count();
    Figure& figure = way == Way::Shared ? m_sharedFigure : m_aloneFigure;
    const bool first = figure.terms == 0;
    // a try replaces the old figure, which may be from other times
    if (first || tried) {
        figure = {nanoseconds, static_cast<double>(terms)};
    } else {
        figure.nanoseconds += recent * (nanoseconds - figure.nanoseconds);
        figure.terms += recent * (static_cast<double>(terms) - figure.terms);
    }
    if (m_sharedFigure.terms == 0 || m_aloneFigure.terms == 0) {
        return;
    }
    const bool sharing = m_sharedFigure.perTerm() < sharingBound * m_aloneFigure.perTerm();
    if (first) {
        m_sharing = sharing;
        m_lostOn = terms;
        return;
    }
    if (!m_sharing && way == Way::Alone && terms >= 2 * m_lostOn) {
        m_lostOn = terms;
        m_sharedTryEvery = firstSharedTryEvery;
        m_sinceTry = firstSharedTryEvery;
    }
    if (way == Way::Shared) {
        if (!sharing) {
            m_lostOn = terms;
            // sharing lost: after a try, or sharing that had not lasted, the next try waits
            // twice as long
            m_sharedTryEvery = tried || m_sharedInARow < settledSharing
                                   ? std::min(2 * m_sharedTryEvery, mostSharedTryEvery)
                                   : firstSharedTryEvery;
        }
        m_sharedInARow = sharing ? m_sharedInARow + 1 : 0;
    }
    if (sharing != m_sharing) {
        m_sharing = sharing;
        m_sinceTry = 0;
    }
}

} // namespace orvane::calc
